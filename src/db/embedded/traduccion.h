#pragma once
// What the translator gives back for a statement, and the kinds its stages share.
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

}  // namespace db::incrustado
