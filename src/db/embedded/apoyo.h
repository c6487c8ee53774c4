#pragma once
// Small pieces shared by the embedded engine: a prepared statement that finalizes itself,
// QVariant <-> SQLite values, and the one text form of dates.
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "db/error_bd.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace db::incrustado {

// 'YYYY-MM-DD HH:MM:SS.mmm', the form every date is stored in.
QString TextoFecha(const QDateTime& fecha);
// Reads a stored date (also 'yyyymmdd', 'yyyy/mm/dd' and the form without milliseconds);
// an invalid QDateTime when the text is no date.
QDateTime LeerFecha(const QString& texto);

// SQLite's message of the last failure on the connection.
QString MensajeSqlite(sqlite3* db);
// The last failure on the connection, classified and worded for the clerk. `ruta` names the
// file or folder concerned; by default the folder of the connection's files.
db::ErrorBD UltimaFalla(sqlite3* db, const QString& ruta = QString(),
                        const QString& contexto = QString());

// A statement prepared on the connection; throws db::ErrorBD on every failure.
class Sentencia {
  public:
    Sentencia(sqlite3* db, const QString& sql);
    ~Sentencia();
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    Sentencia& enlazar(int indice, const QVariant& valor);  // from 1, as SQLite counts
    // Steps once; true while there is a row.
    bool paso();
    // Steps to the end (for statements without rows) and resets for the next use.
    void ejecutar();
    void reiniciar();
    QVariant valor(int columna) const;  // by storage class
    bool nulo(int columna) const;
    qint64 entero(int columna) const;
    QString texto(int columna) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

void Enlazar(sqlite3_stmt* st, int indice, const QVariant& valor);
QVariant ValorSqlite(sqlite3_value* v);
QString TextoSqlite(sqlite3_value* v);

}  // namespace db::incrustado
