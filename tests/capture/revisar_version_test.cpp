// The version check when the capture window loads, and the notice e-mail delivered to a real
// SMTP server on the loopback address.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QtTest>

#include "base_prueba.h"
#include "capture/frm_captura.h"
#include "servicios_falsos.h"
#include "startup/global.h"

namespace {

const char* kServidorSmtp = R"(
import sys, json
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword
salida, puerto = sys.argv[1], int(sys.argv[2])
class Buzon:
    async def handle_DATA(self, server, session, envelope):
        with open(salida, 'a', encoding='utf-8') as f:
            json.dump({'de': envelope.mail_from, 'para': envelope.rcpt_tos,
                       'autenticado': bool(session.authenticated),
                       'datos': envelope.content.decode('utf-8', 'replace')}, f)
            f.write('\n')
        return '250 OK'
def autenticar(server, session, envelope, mecanismo, datos):
    return AuthResult(success=isinstance(datos, LoginPassword) and datos.login == b'soporte'
                      and datos.password == b'operador1997')
c = Controller(Buzon(), hostname='127.0.0.1', port=puerto, authenticator=autenticar,
               auth_require_tls=False)
c.start()
print('listo', flush=True)
sys.stdin.read()
c.stop()
)";

int PuertoLibre() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

}  // namespace

class RevisarVersionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    QProcess smtp;
    QString buzon;
    int puerto = 0;

    void Publicar(const QString& version, int cierra, int envia) {
        base->sqlite(
            QStringLiteral("DELETE FROM norv.Programas_Version; INSERT INTO "
                           "norv.Programas_Version (Programa, Version, cierra, envia_Email) "
                           "VALUES (2, %1, %2, %3), (3, 9.0, 1, 1)")
                .arg(version)
                .arg(cierra)
                .arg(envia));
    }

    QList<QJsonObject> Recibidos() {
        QList<QJsonObject> r;
        QFile f(buzon);
        if (!f.open(QIODevice::ReadOnly)) return r;
        for (const QByteArray& linea : f.readAll().split('\n'))
            if (!linea.trimmed().isEmpty()) r << QJsonDocument::fromJson(linea).object();
        return r;
    }

  private slots:
    void initTestCase() {
        if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) QSKIP("falta python3");
        buzon = QDir::temp().filePath(
            QStringLiteral("buzon-%1.json").arg(QCoreApplication::applicationPid()));
        QFile::remove(buzon);
        puerto = PuertoLibre();
        smtp.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-c"), QString::fromUtf8(kServidorSmtp), buzon,
                    QString::number(puerto)});
        QVERIFY(smtp.waitForReadyRead(20000));
        const QByteArray listo = smtp.readAllStandardOutput();
        QVERIFY2(listo.contains("listo"), smtp.readAllStandardError().constData());
    }
    void cleanupTestCase() {
        smtp.closeWriteChannel();
        smtp.waitForFinished(5000);
        QFile::remove(buzon);
    }
    void init() {
        QFile::remove(buzon);
        base = std::make_unique<BasePrueba>();
        servicios = std::make_unique<ServiciosFalsos>();
        Global::NombreSucursal = QStringLiteral("MATRIZ CENTRO   ");
        Global::Ajustes.correoHost = QStringLiteral("127.0.0.1");
        Global::Ajustes.correoPuerto = puerto;
        Global::Ajustes.correoRemitente = QStringLiteral("soporte@credito.local");
        Global::Ajustes.correoDestinatarios = {QStringLiteral("uno@credito.local"),
                                               QStringLiteral("dos@credito.local")};
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void sinVersionPublicadaNoHayRevision() {
        base->sqlite(QStringLiteral("DELETE FROM norv.Programas_Version"));
        FrmCaptura f;
        QVERIFY(f.puedeContinuar());
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(!f.windowTitle().contains(QStringLiteral("Nueva")));
        QVERIFY(base->enviadas.contains(
            QStringLiteral("select Version,cierra,envia_Email from norv.dbo.Programas_Version "
                           "where Programa = 2")));
    }

    void laMismaVersionNoCambiaNada() {
        Publicar(QStringLiteral("3.0"), 1, 1);
        FrmCaptura f;
        QVERIFY(f.puedeContinuar());
        QVERIFY(servicios->mensajes.isEmpty());
        QCOMPARE(
            f.windowTitle(),
            QStringLiteral("Captura de Solicitudes para Verificación Versión 2.2 26 Sep. 2012"));
        QVERIFY(Recibidos().isEmpty());
        QCOMPARE(Global::VersionPrograma, 3.0f);
    }

    void unaVersionNuevaAvisaYSigue() {
        Publicar(QStringLiteral("3.1"), 0, 0);
        FrmCaptura f;
        QVERIFY(f.puedeContinuar());
        QCOMPARE(f.windowTitle(),
                 QStringLiteral("Captura de Solicitudes para Verificación Versión 2.2 26 Sep. 2012 "
                                "Existe una Nueva Versión del Modulo Disponible!!!"));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Existe una Nueva versión del Modulo, consulte con Sistemas"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Nueva Versión Disponible"));
        QVERIFY(Recibidos().isEmpty());
        QVERIFY(Global::Conexion.abierta());
    }

    void conElCorreoActivoLlegaElAviso() {
        Publicar(QStringLiteral("3.1"), 0, 1);
        FrmCaptura f;
        QVERIFY(f.puedeContinuar());
        QCOMPARE(servicios->textos(),
                 QStringList{
                     QStringLiteral("Existe una Nueva versión del Modulo, consulte con Sistemas")});
        const QList<QJsonObject> recibidos = Recibidos();
        QCOMPARE(recibidos.size(), 1);
        const QJsonObject m = recibidos[0];
        QCOMPARE(m.value("de").toString(), QStringLiteral("soporte@credito.local"));
        QCOMPARE(m.value("para").toVariant().toStringList(),
                 (QStringList{"uno@credito.local", "dos@credito.local"}));
        QVERIFY(m.value("autenticado").toBool());
        const QString datos = m.value("datos").toString();
        QVERIFY2(datos.contains(
                     QStringLiteral("Subject: =?UTF-8?B?") +
                     QString::fromLatin1(QStringLiteral("Es Necesario Actualizar la Versión del "
                                                        "Modulo solicitudes de Crédito, "
                                                        "Sucursal: MATRIZ CENTRO")
                                             .toUtf8()
                                             .toBase64())),
                 qPrintable(datos));
        QVERIFY2(
            datos.contains(QStringLiteral(
                "La versión del Modulo Modulo solicitudes de Crédito MATRIZ CENTRO, esta obsoleta "
                "favor de actualizarla a la brevedad posible,\r\nVersión Instalada Actualmente: "
                "3")),
            qPrintable(datos));
        QVERIFY(datos.contains(QStringLiteral("X-Priority: 1")));
        QVERIFY(datos.contains(QStringLiteral("<soporte@credito.local>")));
    }

    void conElCierreActivoElProgramaTermina() {
        Publicar(QStringLiteral("4"), 1, 1);
        FrmCaptura f;
        QVERIFY(!f.puedeContinuar());
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(
            servicios->mensajes[0].texto,
            QStringLiteral("Existe una Modificación Importante al Módulo, Consulte con Sistemas "
                           "para su Actualización"));
        QCOMPARE(servicios->mensajes[0].titulo,
                 QStringLiteral("Versión Obsoleta Imposible Continuar"));
        QCOMPARE(Recibidos().size(), 1);
        QVERIFY(!Global::Conexion.abierta());
    }

    void cierreSinCorreoNoEnviaNada() {
        Publicar(QStringLiteral("3.5"), 1, 0);
        FrmCaptura f;
        QVERIFY(!f.puedeContinuar());
        QVERIFY(Recibidos().isEmpty());
    }

    void sinServidorDeCorreoSigueEnSilencio() {
        Publicar(QStringLiteral("3.1"), 0, 1);
        Global::Ajustes.correoPuerto = PuertoLibre();
        FrmCaptura f;
        QVERIFY(f.puedeContinuar());
        QCOMPARE(servicios->textos(),
                 QStringList{
                     QStringLiteral("Existe una Nueva versión del Modulo, consulte con Sistemas")});
    }

    void unaContrasenaDeCorreoEquivocadaNoLlegaAlUsuario() {
        Publicar(QStringLiteral("3.1"), 0, 1);
        Global::Ajustes.correoContrasena = QStringLiteral("otra");
        FrmCaptura f;
        QVERIFY(Recibidos().isEmpty());
        QCOMPARE(servicios->mensajes.size(), 1);
    }
};

QTEST_MAIN(RevisarVersionTest)
#include "revisar_version_test.moc"
