#pragma once
// One plain-text message through SMTP (libcurl), with log-in.
#include <QString>
#include <QStringList>

struct MensajeCorreo {
    QString host;
    int puerto = 25;
    QString remitente;
    QString nombreRemitente;
    QStringList destinatarios;
    QString asunto;
    QString cuerpo;
    QString usuario;
    QString contrasena;
    int prioridad = 3;  // 1 high, 3 normal
};

// The message as it travels: headers (non-ASCII words encoded), a blank line, the body.
QByteArray ComponerCorreo(const MensajeCorreo& m);
// Sends it; returns the empty text on success, else what went wrong. Never throws.
QString EnviarCorreo(const MensajeCorreo& m, int segundosEspera = 20);
