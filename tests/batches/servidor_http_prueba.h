#pragma once
// A report server for the tests: plain HTTP on 127.0.0.1 and a free port, answering each
// request with the next canned response (the last one is repeated) and recording what was
// asked. Every answer closes its connection, as a server that keeps none alive.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

struct PeticionHttp {
    QByteArray metodo;
    QByteArray ruta;                         // path and query exactly as sent
    QMap<QByteArray, QByteArray> cabeceras;  // names in lower case
};

struct RespuestaHttp {
    int estado = 200;
    QByteArray razon = "OK";
    QList<QPair<QByteArray, QByteArray>> cabeceras;
    QByteArray cuerpo;
    bool callar = false;  // never answer: a server that hangs
};
Q_DECLARE_METATYPE(RespuestaHttp)

inline RespuestaHttp RespuestaPdf(const QByteArray& cuerpo) {
    return {200, "OK", {{"Content-Type", "application/pdf"}}, cuerpo, false};
}
inline RespuestaHttp RespuestaHtml(int estado, const QByteArray& razon, const QByteArray& cuerpo) {
    return {estado, razon, {{"Content-Type", "text/html; charset=utf-8"}}, cuerpo, false};
}
inline RespuestaHttp RespuestaSesion() {
    return {401,
            "Unauthorized",
            {{"WWW-Authenticate", "Basic realm=\"ReportServer\""}, {"Content-Type", "text/html"}},
            "<html><body>401 - Unauthorized</body></html>",
            false};
}
inline RespuestaHttp RespuestaMuda() { return {0, {}, {}, {}, true}; }

// Some bytes that begin and end as a PDF does.
inline QByteArray CuerpoPdf(const QByteArray& marca) {
    return QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj << /Type /Catalog >> endobj\n% ") +
           marca + QByteArray("\n") + QByteArray(20000, 'x') + QByteArray("\n%%EOF\n");
}

class ServidorHttpPrueba {
  public:
    ServidorHttpPrueba() {
        servidor_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&servidor_, &QTcpServer::newConnection, [this] { atender(); });
    }

    quint16 puerto() const { return servidor_.serverPort(); }
    // host:port, as the settings write the report server.
    QString servidor() const { return QStringLiteral("127.0.0.1:%1").arg(puerto()); }

    QList<RespuestaHttp> respuestas;
    QList<PeticionHttp> peticiones;

  private:
    void atender() {
        while (QTcpSocket* s = servidor_.nextPendingConnection()) {
            auto recibido = std::make_shared<QByteArray>();
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, recibido] {
                *recibido += s->readAll();
                const int fin = recibido->indexOf("\r\n\r\n");
                if (fin < 0) return;
                const QList<QByteArray> lineas = recibido->left(fin).split('\n');
                recibido->clear();
                PeticionHttp p;
                const QList<QByteArray> primera = lineas.value(0).trimmed().split(' ');
                p.metodo = primera.value(0);
                p.ruta = primera.value(1);
                for (int i = 1; i < lineas.size(); ++i) {
                    const int dos = lineas[i].indexOf(':');
                    if (dos > 0)
                        p.cabeceras.insert(lineas[i].left(dos).trimmed().toLower(),
                                           lineas[i].mid(dos + 1).trimmed());
                }
                peticiones << p;
                const RespuestaHttp r = respuestas.isEmpty()
                                            ? RespuestaHtml(404, "Not Found", "sin respuesta")
                                        : respuestas.size() > 1 ? respuestas.takeFirst()
                                                                : respuestas.first();
                if (r.callar) return;
                QByteArray texto =
                    "HTTP/1.1 " + QByteArray::number(r.estado) + ' ' + r.razon + "\r\n";
                for (const auto& [nombre, valor] : r.cabeceras)
                    texto += nombre + ": " + valor + "\r\n";
                texto += "Content-Length: " + QByteArray::number(r.cuerpo.size()) + "\r\n";
                texto += "Connection: close\r\n\r\n";
                texto += r.cuerpo;
                s->write(texto);
                s->disconnectFromHost();
            });
        }
    }

    QTcpServer servidor_;
};
