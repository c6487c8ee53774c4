#pragma once
// The program's version against the one published on the server, and the notice to the
// systems department.
#include <QString>

class QWidget;

// Notes a newer published version in the window's caption, mails the notice when the server
// asks for it, and warns. Returns false when the version is obsolete and the program must end
// (the connection is then already closed).
bool RevisarVersion(QWidget* ventana);

// Sends the notice of kind `Tipo` ("Version"). Failures never reach the user; they are written
// to the program's log on standard error.
void Envia_Correo(const QString& Tipo);
