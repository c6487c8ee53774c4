#pragma once
#include <QString>

// Full path of an ODBC driver library (e.g. "libtdsodbc.so") in the usual Debian folders;
// empty when it is not installed.
QString buscarControlador(const QString& archivo);

// Registers FreeTDS as the "SQL Server" driver for this process only (a private odbcinst.ini
// through ODBCSYSINI), as the connection string names it; false when FreeTDS is not installed.
bool RegistrarFreeTds();
