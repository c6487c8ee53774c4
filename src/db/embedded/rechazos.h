#pragma once
// How the embedded engine refuses a statement: a form it does not translate, said as such, or
// what SQL Server itself refuses or raises, said in Spanish with the server's own words for
// support (as the ODBC road would show them).
#include <QString>
#include <QStringList>
#include <optional>

#include "db/error_bd.h"

namespace db::incrustado {

// "El motor incrustado no admite esta forma de sentencia: <motivo>."
[[noreturn]] void Rechazar(const QString& motivo);

// SQL Server's error `numero`, its text filled in with `datos` (%1, %2, ...).
ErrorBD ErrorDelServidor(int numero, const QStringList& datos = {});
[[noreturn]] void RechazoDelServidor(int numero, const QStringList& datos = {});
// The server's text of that error, as the engine's functions raise it while a statement runs.
QString TextoDelServidor(int numero, const QStringList& datos = {});

// A failure of a running statement whose text is one of those the engine's functions raise
// (8134, 245, 8114, 512), as the server's error; nothing when it is another failure.
std::optional<ErrorBD> ErrorDelServidorEnTexto(const QString& texto);

}  // namespace db::incrustado
