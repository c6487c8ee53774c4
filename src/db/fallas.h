#pragma once
// The one place that tells what kind of failure an engine met, from its own codes and text,
// and words it for the clerk: what happened and what to do, the engine's text kept for support.
#include <QString>

#include "db/error_bd.h"

namespace db {

// How SQL Server begins the refusal of a text longer than its column; the embedded engine
// refuses with the same words, naming table and column as SQL Server 2019 does:
// "String or binary data would be truncated in table 'norv.dbo.T', column 'c'."
inline const QString kTextoTruncado = QStringLiteral("String or binary data would be truncated");

// SQLite: the extended result code, the system's error number behind it (errno, 0 when none)
// and SQLite's message.
TipoFalla ClasificarSqlite(int codigoExtendido, int errorSistema, const QString& texto);
// ODBC: the native error numbers as reported (several may come separated by ';' or blanks) and
// the driver's text. (Qt's driver hands over no SQLSTATE.)
TipoFalla ClasificarOdbc(const QString& nativos, const QString& texto);
// A file operation's errno.
TipoFalla ClasificarErrorSistema(int errorSistema);

// The failure of the embedded engine. `ruta` is the file or folder concerned; `contexto` says
// what was being done ("No se pudo crear la carpeta «x»") and words a failure of no known kind.
ErrorBD FallaSqlite(int codigoExtendido, int errorSistema, const QString& texto,
                    const QString& ruta, const QString& contexto = QString());
// The failure of a file operation (errno and the system's text) on `ruta`.
ErrorBD FallaArchivo(int errorSistema, const QString& texto, const QString& ruta,
                     const QString& contexto);
// The failure of the ODBC engine talking to `servidor` through the driver `controlador` (the
// name in the connection string's Driver={...}).
ErrorBD FallaOdbc(const QString& nativos, const QString& texto, const QString& servidor,
                  const QString& controlador, const QString& contexto = QString());
// The same, of a kind already known (a dropped link, told by the engine that was connected).
ErrorBD FallaOdbc(TipoFalla tipo, const QString& nativos, const QString& texto,
                  const QString& servidor, const QString& controlador, const QString& contexto);

}  // namespace db
