#pragma once
// The program's entry: its options, the application object, the statement log, the
// connection and the log-in window, in that order.
#include <QString>

namespace Global {

// Process-wide settings made before anything else runs.
void PrepararProceso();
// The program: options, then Iniciar. Returns the exit code.
int Main(int argc, char** argv);
// Once the application object exists: the statement log, the configuration, Conectar, the
// login window; a start-up failure is a critical message and exit code 1.
int Iniciar(const QString& archivoSql = QString());

}  // namespace Global
