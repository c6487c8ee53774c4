#pragma once
#include <QString>

// Full path of an ODBC driver library (e.g. "libtdsodbc.so") in the usual Debian folders;
// empty when it is not installed.
QString buscarControlador(const QString& archivo);
