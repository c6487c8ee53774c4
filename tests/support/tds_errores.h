#pragma once
// The errors SQL Server gives where the embedded engine fails: its numbers, severities, states
// and texts, and what each does to the rest of the batch and to the open transaction.
#include <QString>
#include <optional>

struct sqlite3;

namespace db {
class ErrorBD;
}

namespace tds {

struct ErrorServidor {
    qint32 numero = 50000;
    quint8 estado = 1;
    quint8 clase = 16;
    QString texto;
    bool terminaLote = false;         // the rest of the batch does not run
    bool deshaceTransaccion = false;  // the connection's transaction is rolled back
};

struct Contexto {
    QString sentencia;      // the statement that failed (empty for a procedure call)
    QString procedimiento;  // the procedure called, if any
    sqlite3* db = nullptr;  // the connection that ran it, to look at its tables
    int spid = 0;
    bool truncadoAntiguo = false;  // 8152 without the table, column and value
};

ErrorServidor ErrorDe(const db::ErrorBD& e, const Contexto& contexto);
// The effects that go with a number, for an error a test makes up.
ErrorServidor ErrorConNumero(qint32 numero, quint8 clase, const QString& texto);
// With `comentarios` a text column: a statement comparing it by value, refused before it runs.
std::optional<ErrorServidor> ComparacionDeTexto(const QString& sentencia);
ErrorServidor LoginRechazado(const QString& usuario);

}  // namespace tds
