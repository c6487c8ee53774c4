// The report viewer against a report server on the loopback address: the address it asks
// for, the PDF saved and opened, the server's log-in, and every way a fetch can fail.
#include "batches/frm_reporte.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "batches/frm_credenciales.h"
#include "servicios_falsos.h"
#include "servidor_http_prueba.h"
#include "startup/configuracion.h"
#include "startup/global.h"

namespace {

const QByteArray RutaReporte =
    "/reportserver?/Credito/"
    "relaciones_solicitudes_credito&rs:command=render&nRelacion=%1&rs:Format=PDF";
const QString MensajeConexion = QStringLiteral(
    "Hay un Error en la Conexión al servidor, trate de Nuevo, si persiste el problema reportelo a "
    "Sistemas\r\n");

QByteArray Ruta(int numero) { return QString::fromLatin1(RutaReporte).arg(numero).toLatin1(); }

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
}

void Escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(datos);
}

// The user answers the log-in box: types both values and presses "&Aceptar".
std::function<void(QDialog&)> Teclear(const QString& usuario, const QString& contrasena) {
    return [usuario, contrasena](QDialog& d) {
        auto* s = qobject_cast<FrmCredenciales*>(&d);
        QVERIFY(s);
        s->TxtUsuario->clear();
        QTest::keyClicks(s->TxtUsuario, usuario);
        QTest::keyClick(s->TxtUsuario, Qt::Key_Tab);
        QTest::keyClicks(s->TxtContrasena, contrasena);
        QTest::mouseClick(s->CmdAceptar, Qt::LeftButton);
    };
}

}  // namespace

class FrmReporteTest : public QObject {
    Q_OBJECT

    QTemporaryDir casa;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<ServidorHttpPrueba> http;

    QString documentos() const { return casa.filePath(QStringLiteral("Documents")); }
    QString archivo(int numero) const {
        return QDir(documentos()).filePath(QStringLiteral("Relacion_%1.pdf").arg(numero));
    }
    QString direccion(int numero) const {
        return QStringLiteral("http://") + http->servidor() + QString::fromLatin1(Ruta(numero));
    }

    struct Visto {
        int resultado = -1;
        bool abiertaTrasElMensaje = false;
        QString etiqueta;
        QString direccion;
        QString archivo;
    };

    // Opens the viewer as the batch window does, through the services. While it is up the
    // test waits until it closes by itself or tells the user something; then the user closes
    // it. `sesiones` answer the log-in boxes, in order.
    Visto Abrir(double numero, const QList<std::function<void(QDialog&)>>& sesiones = {},
                int esperaMaxima = 0) {
        Global::NumeroRelacion = numero;
        Global::TipoReporte = 1;
        Visto v;
        FrmReporte f;
        if (esperaMaxima > 0) f.ponerEsperaMaxima(esperaMaxima);
        v.etiqueta = f.LblURL->text();
        v.direccion = f.direccionReporte();
        v.archivo = f.archivoReporte();
        servicios->accionesModales = {[this, &v](QDialog& d) {
            QTRY_VERIFY_WITH_TIMEOUT(!d.isVisible() || !servicios->mensajes.isEmpty(), 15000);
            v.abiertaTrasElMensaje = d.isVisible();
            if (d.isVisible()) d.reject();
        }};
        servicios->accionesModales += sesiones;
        v.resultado = Servicios().mostrarModal(f);
        return v;
    }

    void VerificarErrorDeConexion(const Visto& v, const QString& direccionEsperada) {
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Conexión"));
        QCOMPARE(servicios->mensajes[0].texto, MensajeConexion + direccionEsperada);
        QVERIFY(v.abiertaTrasElMensaje);
        QCOMPARE(v.resultado, int(QDialog::Rejected));
        QVERIFY(servicios->direcciones.isEmpty());
    }

    QStringList Archivos() const {
        return QDir(documentos()).entryList(QDir::Files | QDir::Hidden);
    }

  private slots:
    void initTestCase() {
        // The user's documents folder lives in a folder of the test.
        qputenv("HOME", casa.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", casa.filePath(QStringLiteral("config")).toUtf8());
        QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), documentos());
    }

    void init() {
        QDir(documentos()).removeRecursively();
        servicios = std::make_unique<ServiciosFalsos>();
        http = std::make_unique<ServidorHttpPrueba>();
        Global::Ajustes = configuracion::AjustesPredeterminados(casa.path());
        Global::Ajustes.servidorReportes = http->servidor();
    }

    void cleanup() {
        http.reset();
        servicios.reset();
    }

    void ventanaYTextos() {
        Global::NumeroRelacion = 125;
        Global::TipoReporte = 1;
        FrmReporte f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Impresión del Reporte"));
        QCOMPARE(
            f.LblMensaje->text(),
            QStringLiteral("De ser necesarioTeclee sus Datos de Inicio de Sesión  y seleccione la "
                           "opción abrir del dialogo próximo a mostrarse"));
        QCOMPARE(f.LblMensaje->objectName(), QStringLiteral("LblMensaje"));
        QCOMPARE(f.LblURL->objectName(), QStringLiteral("LblURL"));
        QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        // Nothing is asked of the server before the window is on screen.
        QCoreApplication::processEvents();
        QVERIFY(http->peticiones.isEmpty());
        QVERIFY(!f.navegando());
    }

    void elPdfSeGuardaSeAbreYLaVentanaSeCierra() {
        const QByteArray pdf = CuerpoPdf("relacion 125");
        http->respuestas = {RespuestaPdf(pdf)};
        const Visto v = Abrir(125);

        QCOMPARE(http->peticiones.size(), 1);
        QCOMPARE(http->peticiones[0].metodo, QByteArray("GET"));
        QCOMPARE(
            http->peticiones[0].ruta,
            QByteArray("/reportserver?/Credito/relaciones_solicitudes_credito&rs:command=render&"
                       "nRelacion=125&rs:Format=PDF"));
        QCOMPARE(http->peticiones[0].cabeceras.value("host"), http->servidor().toUtf8());
        // The label shows the very address that was asked for.
        QCOMPARE(v.etiqueta,
                 QStringLiteral("http://") + http->servidor() +
                     QStringLiteral("/reportserver?/Credito/relaciones_solicitudes_credito&"
                                    "rs:command=render&nRelacion=125&rs:Format=PDF"));
        QCOMPARE(v.direccion, v.etiqueta);

        QCOMPARE(v.archivo, archivo(125));
        QCOMPARE(Leer(archivo(125)), pdf);
        QCOMPARE(servicios->direcciones, QStringList{archivo(125)});
        QCOMPARE(v.resultado, int(QDialog::Accepted));
        QVERIFY(servicios->mensajes.isEmpty());
        // Nothing but the report is left in the folder.
        QCOMPARE(Archivos(), QStringList{QStringLiteral("Relacion_125.pdf")});
    }

    void elNumeroSeEscribeEntero_data() {
        QTest::addColumn<double>("numero");
        QTest::addColumn<QString>("texto");
        QTest::newRow("pequeño") << 7.0 << QStringLiteral("7");
        QTest::newRow("grande") << 1234567.0 << QStringLiteral("1234567");
        QTest::newRow("sin separadores") << 100000.0 << QStringLiteral("100000");
    }
    void elNumeroSeEscribeEntero() {
        QFETCH(double, numero);
        QFETCH(QString, texto);
        Global::NumeroRelacion = numero;
        Global::TipoReporte = 1;
        FrmReporte f;
        QCOMPARE(f.LblURL->text(),
                 QStringLiteral("http://") + http->servidor() +
                     QStringLiteral("/reportserver?/Credito/relaciones_solicitudes_credito&"
                                    "rs:command=render&nRelacion=") +
                     texto + QStringLiteral("&rs:Format=PDF"));
        QCOMPARE(QFileInfo(f.archivoReporte()).fileName(),
                 QStringLiteral("Relacion_") + texto + QStringLiteral(".pdf"));
    }

    void elServidorDeLosAjustesSinPuertoVaAl88() {
        Global::NumeroRelacion = 3;
        Global::TipoReporte = 1;
        Global::Ajustes = configuracion::AjustesPredeterminados(casa.path());
        {
            FrmReporte f;
            QVERIFY(
                f.LblURL->text().startsWith(QStringLiteral("http://reportes:88/reportserver?")));
        }
        Global::Ajustes.servidorReportes = QStringLiteral("informes.empresa.local");
        FrmReporte f;
        QVERIFY(f.LblURL->text().startsWith(
            QStringLiteral("http://informes.empresa.local:88/reportserver?")));
    }

    void reabrirPideLaRelacionNueva() {
        http->respuestas = {RespuestaPdf(CuerpoPdf("125")), RespuestaPdf(CuerpoPdf("126"))};
        QCOMPARE(Abrir(125).resultado, int(QDialog::Accepted));
        QCOMPARE(Abrir(126).resultado, int(QDialog::Accepted));
        QCOMPARE(http->peticiones.size(), 2);
        QCOMPARE(http->peticiones[0].ruta, Ruta(125));
        QCOMPARE(http->peticiones[1].ruta, Ruta(126));
        QCOMPARE(Leer(archivo(125)), CuerpoPdf("125"));
        QCOMPARE(Leer(archivo(126)), CuerpoPdf("126"));
        QCOMPARE(servicios->direcciones, (QStringList{archivo(125), archivo(126)}));
    }

    void unReporteNuevoReemplazaAlAnterior() {
        QDir().mkpath(documentos());
        Escribir(archivo(125), "%PDF-1.4 el de ayer");
        http->respuestas = {RespuestaPdf(CuerpoPdf("hoy"))};
        QCOMPARE(Abrir(125).resultado, int(QDialog::Accepted));
        QCOMPARE(Leer(archivo(125)), CuerpoPdf("hoy"));
        QCOMPARE(Archivos(), QStringList{QStringLiteral("Relacion_125.pdf")});
    }

    void elServidorPideSesionYSeReintentaConElla() {
        http->respuestas = {RespuestaSesion(), RespuestaPdf(CuerpoPdf("con sesion"))};
        const Visto v =
            Abrir(125, {Teclear(QStringLiteral("ana.lopez"), QStringLiteral("Secreta1"))});

        QCOMPARE(http->peticiones.size(), 2);
        QVERIFY(!http->peticiones[0].cabeceras.contains("authorization"));
        QCOMPARE(http->peticiones[1].cabeceras.value("authorization"),
                 "Basic " + QByteArray("ana.lopez:Secreta1").toBase64());
        QCOMPARE(http->peticiones[1].ruta, Ruta(125));
        QCOMPARE(servicios->dialogos.size(), 2);
        QCOMPARE(servicios->dialogos[1].clase, QStringLiteral("FrmCredenciales"));
        QCOMPARE(servicios->dialogos[1].titulo, QStringLiteral("Inicio de Sesión"));
        QCOMPARE(Leer(archivo(125)), CuerpoPdf("con sesion"));
        QCOMPARE(servicios->direcciones, QStringList{archivo(125)});
        QCOMPARE(v.resultado, int(QDialog::Accepted));
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void laCajaDeSesionNombraAlServidorYAvisaDelRechazo() {
        http->respuestas = {RespuestaSesion(), RespuestaSesion(), RespuestaPdf(CuerpoPdf("x"))};
        QStringList textos;
        QStringList usuarios;
        auto mirar = [&](const QString& contrasena) {
            return [&, contrasena](QDialog& d) {
                auto* s = qobject_cast<FrmCredenciales*>(&d);
                QVERIFY(s);
                textos << s->LblMensaje->text();
                usuarios << s->TxtUsuario->text();
                QCOMPARE(s->TxtContrasena->echoMode(), QLineEdit::Password);
                Teclear(QStringLiteral("ana"), contrasena)(d);
                // The program's one password mark, as in the log-in.
                QCOMPARE(s->TxtContrasena->displayText(),
                         QString(contrasena.size(), QLatin1Char('*')));
            };
        };
        Abrir(125, {mirar(QStringLiteral("mala")), mirar(QStringLiteral("Buena"))});
        QCOMPARE(textos.size(), 2);
        QVERIFY(textos[0].contains(http->servidor()));
        QVERIFY(textos[0].contains(QStringLiteral("ReportServer")));
        QVERIFY(!textos[0].contains(QStringLiteral("no aceptó")));
        QVERIFY(textos[1].startsWith(QStringLiteral("El servidor no aceptó los datos.")));
        // The name typed before is offered again.
        QCOMPARE(usuarios, (QStringList{QString(), QStringLiteral("ana")}));
        QCOMPARE(http->peticiones.last().cabeceras.value("authorization"),
                 "Basic " + QByteArray("ana:Buena").toBase64());
        QCOMPARE(Leer(archivo(125)), CuerpoPdf("x"));
    }

    void laSesionRechazadaSeRindeTrasTresIntentos() {
        http->respuestas = {RespuestaSesion()};
        // Each time another password: the same one again would not even be sent.
        QList<std::function<void(QDialog&)>> malas;
        for (int i = 1; i <= 5; ++i)
            malas << Teclear(QStringLiteral("ana"), QStringLiteral("mala%1").arg(i));
        const Visto v = Abrir(125, malas);
        int cajas = 0;
        for (const DialogoMostrado& d : servicios->dialogos)
            cajas += d.clase == QLatin1String("FrmCredenciales");
        QCOMPARE(cajas, FrmReporte::MaximoIntentosSesion);
        QCOMPARE(http->peticiones.size(), FrmReporte::MaximoIntentosSesion + 1);
        VerificarErrorDeConexion(v, direccion(125));
        QVERIFY(!QFile::exists(archivo(125)));
    }

    void cancelarLaSesionEsUnaConexionFallida() {
        http->respuestas = {RespuestaSesion()};
        const Visto v = Abrir(125, {[](QDialog& d) {
                                  auto* s = qobject_cast<FrmCredenciales*>(&d);
                                  QVERIFY(s);
                                  QTest::mouseClick(s->CmdCancelar, Qt::LeftButton);
                              }});
        QCOMPARE(servicios->dialogos.size(), 2);
        QCOMPARE(http->peticiones.size(), 1);
        VerificarErrorDeConexion(v, direccion(125));
    }

    void unaRespuestaQueNoEsElReporteEsUnError_data() {
        QTest::addColumn<QList<RespuestaHttp>>("respuestas");
        QTest::newRow("500") << QList<RespuestaHttp>{
            RespuestaHtml(500, "Internal Server Error", "<html>fallo</html>")};
        QTest::newRow("404") << QList<RespuestaHttp>{
            RespuestaHtml(404, "Not Found", "<html>no</html>")};
        QTest::newRow("página HTML con 200") << QList<RespuestaHttp>{
            RespuestaHtml(200, "OK", "<html><body>Error del servidor de reportes</body></html>")};
        QTest::newRow("cuerpo vacío") << QList<RespuestaHttp>{RespuestaPdf(QByteArray())};
        QTest::newRow("apenas el principio") << QList<RespuestaHttp>{RespuestaPdf("%PD")};
        QTest::newRow("PDF con error 500")
            << QList<RespuestaHttp>{{500,
                                     "Internal Server Error",
                                     {{"Content-Type", "application/pdf"}},
                                     CuerpoPdf("x"),
                                     false}};
    }
    void unaRespuestaQueNoEsElReporteEsUnError() {
        QFETCH(QList<RespuestaHttp>, respuestas);
        QDir().mkpath(documentos());
        Escribir(archivo(125), "%PDF-1.4 el de ayer");
        http->respuestas = respuestas;
        const Visto v = Abrir(125);
        QCOMPARE(http->peticiones.size(), 1);
        VerificarErrorDeConexion(v, direccion(125));
        // The report saved before stays whole, and nothing else is left behind.
        QCOMPARE(Leer(archivo(125)), QByteArray("%PDF-1.4 el de ayer"));
        QCOMPARE(Archivos(), QStringList{QStringLiteral("Relacion_125.pdf")});
    }

    void unServidorQueRechazaLaConexionEsUnError() {
        quint16 puerto = 0;
        {
            QTcpServer libre;
            QVERIFY(libre.listen(QHostAddress::LocalHost, 0));
            puerto = libre.serverPort();
        }
        Global::Ajustes.servidorReportes = QStringLiteral("127.0.0.1:%1").arg(puerto);
        const Visto v = Abrir(77);
        VerificarErrorDeConexion(
            v, QStringLiteral("http://127.0.0.1:%1").arg(puerto) + QString::fromLatin1(Ruta(77)));
        QVERIFY(!QFile::exists(archivo(77)));
    }

    void unServidorQueNoContestaEsUnError() {
        http->respuestas = {RespuestaMuda()};
        const Visto v = Abrir(125, {}, 300);
        QCOMPARE(http->peticiones.size(), 1);
        VerificarErrorDeConexion(v, direccion(125));
    }

    // While the server keeps quiet the window says so in one line, under the hourglass; the
    // line goes when the wait ends, whichever way.
    void mientrasEsperaLoDiceBajoElReloj() {
        http->respuestas = {RespuestaMuda()};
        Global::NumeroRelacion = 125;
        Global::TipoReporte = 1;
        FrmReporte f;
        f.ponerEsperaMaxima(400);
        QVERIFY(!f.LblEspera->isVisibleTo(&f));
        QStringList vistos;
        servicios->alMostrarMensaje = [&](const MensajeMostrado&) {
            vistos << (f.LblEspera->isVisible() ? f.LblEspera->text() : QStringLiteral("(oculta)"));
        };
        servicios->accionesModales = {[&](QDialog& d) {
            QTRY_COMPARE(http->peticiones.size(), 1);
            QVERIFY(f.LblEspera->isVisible());
            QCOMPARE(f.LblEspera->text(), QStringLiteral("Esperando al servidor de reportes…"));
            QVERIFY(f.LblEspera->sizeHint().height() < 2 * f.LblEspera->fontMetrics().height());
            QCOMPARE(f.cursor().shape(), Qt::WaitCursor);
            // Past the wait: the connection-error message, the window still open.
            QTRY_COMPARE(servicios->mensajes.size(), 1);
            QVERIFY(d.isVisible());
            QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
            d.reject();
        }};
        Servicios().mostrarModal(f);
        QCOMPARE(vistos, QStringList{QStringLiteral("(oculta)")});
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Conexión"));
        QCOMPARE(servicios->mensajes[0].texto, MensajeConexion + direccion(125));
    }

    void cerrarLaVentanaMientrasEsperaNoDejaNada() {
        http->respuestas = {RespuestaMuda()};
        Global::NumeroRelacion = 125;
        Global::TipoReporte = 1;
        FrmReporte f;
        servicios->accionesModales = {[this](QDialog& d) {
            QTRY_COMPARE(http->peticiones.size(), 1);
            QVERIFY(static_cast<FrmReporte&>(d).navegando());
            d.reject();
        }};
        QCOMPARE(Servicios().mostrarModal(f), int(QDialog::Rejected));
        QVERIFY(!f.navegando());
        QVERIFY(!f.LblEspera->isVisible());
        QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
        QCoreApplication::processEvents();
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(servicios->direcciones.isEmpty());
        QVERIFY(!QFile::exists(archivo(125)));
    }

    // With the desktop's own boxes: once the clerk has read where the report went (Enter), the
    // window that opened the viewer has the keyboard again.
    void trasElMensajeLaVentanaDeAtrasTieneElTeclado() {
        struct SinVisor : ServiciosEscritorio {
            bool abrirDireccion(const QString&) override { return false; }
        } escritorio;
        InstalarServicios(&escritorio);
        auto reponer = qScopeGuard([this] { InstalarServicios(servicios.get()); });
        http->respuestas = {RespuestaPdf(CuerpoPdf("x"))};
        Global::TipoReporte = 1;
        QLineEdit atras;
        atras.show();
        QVERIFY(QTest::qWaitForWindowActive(&atras));
        QTimer lector;
        connect(&lector, &QTimer::timeout, [] {
            if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(caja, Qt::Key_Return);
        });
        lector.start(20);
        FrmReporte f(&atras);
        QCOMPARE(Servicios().mostrarModal(f), int(QDialog::Accepted));
        QTRY_COMPARE(QApplication::focusWidget(), &atras);
    }

    void siNoSeAbreElVisorSeDiceDondeQuedo() {
        servicios->resultadoAbrir = false;
        http->respuestas = {RespuestaPdf(CuerpoPdf("x"))};
        const Visto v = Abrir(125);
        QCOMPARE(v.resultado, int(QDialog::Accepted));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QVERIFY(servicios->mensajes[0].texto.endsWith(archivo(125)));
        QCOMPARE(Leer(archivo(125)), CuerpoPdf("x"));
    }
};

QTEST_MAIN(FrmReporteTest)
#include "frm_reporte_test.moc"
