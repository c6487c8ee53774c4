#pragma once
#include <QString>

// Writes a complete demo configuration folder: the start-up table (enciphered as the real
// one), solicitudes.ini, and both embedded databases with sample data. Returns the text to
// print (where it is, how to start it, the demo log-in). Throws Global::ErrorArranque.
QString CrearDemo(const QString& carpeta);
