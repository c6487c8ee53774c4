#pragma once
// Reading an ODBC connection string ("Driver={SQL Server};Server=...;Uid=...;").
#include <QLatin1String>
#include <QString>
#include <optional>

namespace db {

// The value of `clave` in an ODBC connection string, braces taken off (Driver={SQL Server});
// nothing when the string does not name it.
std::optional<QString> valorDeCadena(const QString& cadenaConexion, QLatin1String clave);
// The value after "Server=" in an ODBC connection string (empty when absent).
QString servidorDeCadena(const QString& cadenaConexion);

}  // namespace db
