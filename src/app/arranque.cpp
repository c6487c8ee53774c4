#include "app/arranque.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QScopeGuard>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/aplicacion.h"
#include "demo/crear_demo.h"
#include "instalacion.h"
#include "login/frm_login.h"
#include "startup/global.h"
#include "ui/exportar.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/traducciones.h"

namespace Global {
namespace {

constexpr char Sinopsis[] =
    "Uso: solicitudes [--log-sql ARCHIVO]\n"
    "     solicitudes --crear-demo CARPETA\n"
    "     solicitudes --help | --version\n";

void Ayuda() {
    std::fputs(Sinopsis, stdout);
    std::fputs(
        "\n"
        "Registra las solicitudes de crédito de los clientes, las agrupa en relaciones de\n"
        "verificación, recibe lo que encontró el verificador y rechaza o reactiva solicitudes.\n"
        "\n"
        "Opciones:\n"
        "  --crear-demo CARPETA  escribe en CARPETA una configuración de demostración completa\n"
        "                        (ARRANQUE.dbf, solicitudes.ini y las bases del motor\n"
        "                        integrado), imprime el acceso de la demostración y termina\n"
        "  --log-sql ARCHIVO     agrega al ARCHIVO cada sentencia que el programa envía a la base\n"
        "  -h, --help            muestra esta ayuda y termina\n"
        "  --version             muestra el nombre y la versión del programa y termina\n"
        "  -platform NOMBRE      opción de Qt: la plataforma gráfica (p. ej. offscreen, sin\n"
        "                        pantalla); se aceptan también -style y las demás de Qt\n"
        "\n"
        "Configuración:\n"
        "  La carpeta de configuración es la variable de entorno OXA_DIR; si no está, ~/.oxa/\n"
        "  (C:\\oxa\\ en Windows). Contiene la tabla de arranque ARRANQUE.dbf y, si se quiere,\n"
        "  solicitudes.ini. Un server_SQL de la forma sqlite:RUTA usa el motor integrado; otro\n"
        "  valor es un SQL Server al que se llega por ODBC con el controlador \"SQL Server\".\n"
        "\n"
        "Demostración:\n"
        "  solicitudes --crear-demo /tmp/demo\n"
        "  OXA_DIR=/tmp/demo solicitudes\n"
        "\n"
        "Códigos de salida: 0 sin error, 1 error al iniciar o al escribir la demostración,\n"
        "2 opción no válida, 3 sin pantalla donde mostrar las ventanas, 4 no se puede\n"
        "escribir la bitácora de sentencias.\n"
        "\n"
        "Más detalles: man solicitudes\n",
        stdout);
}

int OpcionNoValida(const QString& aviso) {
    std::fprintf(stderr, "%s\n%sPruebe «solicitudes --help» para más información.\n",
                 aviso.toLocal8Bit().constData(), Sinopsis);
    return 2;
}

// Qt's own options, which QApplication takes out of the arguments later. Qt also accepts them
// with two dashes, and -style and -stylesheet with "=".
bool OpcionDeQt(QString a, bool& llevaValor) {
    if (a.startsWith(QLatin1String("--"))) a.remove(0, 1);
    static const QStringList conValor = {
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"),    QStringLiteral("-session"),
        QStringLiteral("-display"),         QStringLiteral("-geometry")};
    llevaValor = conValor.contains(a);
    return llevaValor || a.startsWith(QLatin1String("-style=")) ||
           a.startsWith(QLatin1String("-stylesheet=")) || a == QLatin1String("-reverse") ||
           a == QLatin1String("-widgetcount");
}

// What Qt says while the application object is made, held back: when there is no display it
// ends with a fatal message in English, which the clerk reads in Spanish instead.
QStringList avisosDeQt;
QtMessageHandler manejadorPrevio = nullptr;

void AvisoAlIniciar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo != QtFatalMsg) {
        avisosDeQt << texto;
        return;
    }
    std::fprintf(
        stderr,
        "No se pueden mostrar las ventanas del programa: no hay una pantalla gráfica "
        "disponible (revise la variable DISPLAY, o use -platform offscreen para "
        "probar sin pantalla).\nDetalle: %s\n",
        (avisosDeQt + QStringList(texto)).join(QLatin1Char(' ')).toLocal8Bit().constData());
    (void)contexto;
    std::_Exit(3);
}

// The statement log, checked before anything else so that the reason is the system's in
// Spanish: a folder, a missing folder, no permission.
QString ProblemaBitacora(const QString& ruta) {
    const QFileInfo archivo(ruta);
    if (archivo.isDir()) return QStringLiteral("%1 es una carpeta, no un archivo").arg(ruta);
    const QFileInfo carpeta(archivo.absolutePath());
    if (!carpeta.exists()) return QStringLiteral("no existe la carpeta %1").arg(carpeta.filePath());
    if (archivo.exists() ? !archivo.isWritable() : !carpeta.isWritable())
        return QStringLiteral("no tiene permiso para escribir en %1").arg(ruta);
    return QString();
}

}  // namespace

void PrepararProceso() {
#ifdef Q_OS_LINUX
    // Without TZ, glibc reads /etc/localtime again for every local date it converts, which
    // makes reading dates from the database several times slower.
    if (qEnvironmentVariableIsEmpty("TZ")) qputenv("TZ", ":/etc/localtime");
#endif
}

int Main(int argc, char** argv) {
    PrepararProceso();
    QString carpetaDemo, archivoSql;
    // Answered before any QApplication exists, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        bool llevaValor = false;
        if (a == QLatin1String("--crear-demo") || a == QLatin1String("--log-sql")) {
            if (i + 1 >= argc)
                return OpcionNoValida(QStringLiteral("Falta el valor de la opción %1").arg(a));
            (a == QLatin1String("--crear-demo") ? carpetaDemo : archivoSql) =
                QString::fromLocal8Bit(argv[++i]);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            Ayuda();
            return 0;
        } else if (a == QLatin1String("--version")) {
            std::fputs("solicitudes (Solicitudes de Crédito) " SOLICITUDES_VERSION "\n", stdout);
            return 0;
        } else if (OpcionDeQt(a, llevaValor)) {
            if (llevaValor) ++i;
        } else {
            return OpcionNoValida(QStringLiteral("Opción desconocida: %1").arg(a));
        }
    }

    if (!carpetaDemo.isEmpty()) {
        QCoreApplication app(argc, argv);
        try {
            std::fputs(CrearDemo(carpetaDemo).toLocal8Bit().constData(), stdout);
            return 0;
        } catch (const ErrorArranque& e) {
            std::fprintf(stderr, "%s\n", e.mensaje.toLocal8Bit().constData());
            return 1;
        }
    }

    if (!archivoSql.isEmpty()) {
        const QString problema = ProblemaBitacora(archivoSql);
        if (!problema.isEmpty()) {
            std::fprintf(stderr, "No se puede escribir la bitácora de sentencias: %s.\n",
                         problema.toLocal8Bit().constData());
            return 4;
        }
    }

    manejadorPrevio = qInstallMessageHandler(AvisoAlIniciar);
    Aplicacion app(argc, argv);
    qInstallMessageHandler(manejadorPrevio);
    for (const QString& aviso : std::exchange(avisosDeQt, {}))
        std::fprintf(stderr, "%s\n", aviso.toLocal8Bit().constData());
    QApplication::setApplicationName(QStringLiteral("solicitudes"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("solicitudes"),
                                                 QIcon(QStringLiteral(":/solicitudes.png"))));
    // The desktop's own font; the windows' layout grows to it (EscalaDiseno), and Qt's own
    // texts (menus, standard buttons, the calendar) speak Spanish.
    if (!InstalarTraduccionesQt())
        std::fputs(
            "Aviso: no se encontraron los textos de Qt en español (paquete "
            "qt6-translations-l10n); los menús y diálogos de Qt saldrán en inglés.\n",
            stderr);
    exportar::AgregarAlMenuDeLasRejillas();
    return Iniciar(archivoSql);
}

int Iniciar(const QString& archivoSql) {
    std::unique_ptr<QFile> bitacora;
    int observador = 0;
    if (!archivoSql.isEmpty()) {
        bitacora = std::make_unique<QFile>(archivoSql);
        if (!bitacora->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            QString problema = ProblemaBitacora(archivoSql);
            if (problema.isEmpty())
                problema = QStringLiteral("no se pudo abrir %1").arg(archivoSql);
            MensajeError(
                QStringLiteral("No se puede escribir la bitácora de sentencias: %1.").arg(problema),
                QStringLiteral("Error al iniciar"));
            return 4;
        }
        QFile* f = bitacora.get();
        // The transaction steps too, so that support sees a refused batch as refused.
        observador = Conexion.agregarObservador(
            [f](const QString& sql) {
                f->write(sql.toUtf8());
                f->write("\n");
                f->flush();
            },
            true);
    }
    auto alSalir = qScopeGuard([&] {
        Desconectar();
        if (observador) Conexion.quitarObservador(observador);
    });

    CarpetaConfiguracion = configuracion::Carpeta();
    Ajustes = configuracion::LeerAjustes(CarpetaConfiguracion);
    try {
        Conectar();
    } catch (const ErrorArranque& e) {
        MensajeError(e.mensaje, QStringLiteral("Error al iniciar"));
        return 1;
    }
    // From now on the windows show long statements and lock waits, and can stop them.
    AtenderTrabajosLargos(Conexion);
    MostrarLogin();
    return 0;
}

}  // namespace Global
