#pragma once
// Turns one statement written for SQL Server into the SQLite statement that does the same, or
// refuses it: a form the translator does not know is an error, never something else run in
// its place. The stages: lexico (tokens), sintaxis (the tree, arbol.h), nombres (the schema's
// names and the server's rules on them), escritura (the SQLite text).
#include <QString>
#include <QVector>

namespace db::incrustado {

enum class ClaseSentencia { Select, Insert, Update, Delete };

// Type of a result column that SQLite cannot declare (a function's result).
enum class TipoResultado { Ninguno, Texto, Entero, Fecha, Bit };

struct Traduccion {
    QString sql;
    ClaseSentencia clase = ClaseSentencia::Select;
    QString tabla;              // INSERT/UPDATE/DELETE: the table written, as the schema names it
    bool conIdentidad = false;  // INSERT into a table with an identity column
    QVector<TipoResultado> tipos;  // SELECT: one per column of the outer select list
};

// Throws db::ErrorBD, in Spanish, for anything it does not translate.
Traduccion Traducir(const QString& sql);

}  // namespace db::incrustado
