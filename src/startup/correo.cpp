#include "startup/correo.h"

#include <curl/curl.h>

#include <QDateTime>
#include <QLocale>

namespace {

// RFC 2047 word for header text that is not plain ASCII.
QByteArray Encabezado(const QString& texto) {
    bool ascii = true;
    for (QChar c : texto) ascii = ascii && c.unicode() < 0x80;
    if (ascii) return texto.toLatin1();
    return "=?UTF-8?B?" + texto.toUtf8().toBase64() + "?=";
}

struct Lectura {
    QByteArray datos;
    qsizetype posicion = 0;
};

size_t Leer(char* destino, size_t tamano, size_t cuantos, void* usuario) {
    auto* l = static_cast<Lectura*>(usuario);
    const qsizetype n =
        qMin<qsizetype>(static_cast<qsizetype>(tamano * cuantos), l->datos.size() - l->posicion);
    if (n <= 0) return 0;
    memcpy(destino, l->datos.constData() + l->posicion, static_cast<size_t>(n));
    l->posicion += n;
    return static_cast<size_t>(n);
}

}  // namespace

QByteArray ComponerCorreo(const MensajeCorreo& m) {
    QByteArray r;
    const QString fecha = QLocale::c().toString(QDateTime::currentDateTime(),
                                                QStringLiteral("ddd, dd MMM yyyy HH:mm:ss "));
    const int minutos = QDateTime::currentDateTime().offsetFromUtc() / 60;
    r += "Date: " + fecha.toLatin1() +
         QString::asprintf("%c%02d%02d", minutos < 0 ? '-' : '+', qAbs(minutos) / 60,
                           qAbs(minutos) % 60)
             .toLatin1() +
         "\r\n";
    r += "From: " + Encabezado(m.nombreRemitente) + " <" + m.remitente.toUtf8() + ">\r\n";
    r += "To: " + m.destinatarios.join(QStringLiteral(", ")).toUtf8() + "\r\n";
    r += "Subject: " + Encabezado(m.asunto) + "\r\n";
    r += "X-Priority: " + QByteArray::number(m.prioridad) + "\r\n";
    r += "MIME-Version: 1.0\r\n";
    r += "Content-Type: text/plain; charset=UTF-8\r\n";
    r += "Content-Transfer-Encoding: 8bit\r\n";
    r += "\r\n";
    QByteArray cuerpo = m.cuerpo.toUtf8();
    // Bare line feeds become CRLF; a line that is a lone dot is doubled by libcurl itself.
    cuerpo.replace("\r\n", "\n").replace("\n", "\r\n");
    r += cuerpo + "\r\n";
    return r;
}

QString EnviarCorreo(const MensajeCorreo& m, int segundosEspera) {
    static const bool iniciado = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!iniciado) return QStringLiteral("no se pudo iniciar libcurl");
    CURL* curl = curl_easy_init();
    if (!curl) return QStringLiteral("no se pudo crear la sesión de libcurl");

    Lectura lectura{ComponerCorreo(m)};
    curl_slist* destinos = nullptr;
    for (const QString& d : m.destinatarios)
        destinos = curl_slist_append(destinos, ("<" + d.trimmed().toUtf8() + ">").constData());
    char error[CURL_ERROR_SIZE] = {};
    const QByteArray url = "smtp://" + m.host.toUtf8() + ":" + QByteArray::number(m.puerto);
    const QByteArray de = "<" + m.remitente.toUtf8() + ">";
    const QByteArray usuario = m.usuario.toUtf8(), contrasena = m.contrasena.toUtf8();

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, de.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, destinos);
    if (!usuario.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, usuario.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, contrasena.constData());
    }
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, Leer);
    curl_easy_setopt(curl, CURLOPT_READDATA, &lectura);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(qMin(segundosEspera, 10)));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(segundosEspera));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);

    const CURLcode rc = curl_easy_perform(curl);
    curl_slist_free_all(destinos);
    curl_easy_cleanup(curl);
    if (rc == CURLE_OK) return QString();
    return QString::fromUtf8(*error ? error : curl_easy_strerror(rc));
}
