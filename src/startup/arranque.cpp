// The program's start: options, the connection, the login window.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QScopeGuard>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "login/frm_login.h"
#include "startup/demo_configuracion.h"
#include "startup/global.h"
#include "ui/servicios.h"
#include "ui/traducciones.h"

namespace Global {
namespace {

void Uso() {
    std::fputs(
        "Uso: solicitudes [--log-sql ARCHIVO]\n"
        "     solicitudes --crear-demo CARPETA\n"
        "La carpeta de configuración es OXA_DIR (o ~/.oxa/).\n",
        stderr);
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
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if ((a == QLatin1String("--crear-demo") || a == QLatin1String("--log-sql")) && i + 1 < argc)
            (a == QLatin1String("--crear-demo") ? carpetaDemo : archivoSql) =
                QString::fromLocal8Bit(argv[++i]);
        else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            Uso();
            return 0;
        } else if (!a.startsWith(QLatin1String("-platform")) && !a.startsWith(QLatin1String("-style"))) {
            Uso();
            return 2;
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

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("solicitudes"));
    // The desktop's own font; the windows' layout grows to it (EscalaDiseno), and Qt's own
    // texts (menus, standard buttons, the calendar) speak Spanish.
    InstalarTraduccionesQt();
    return Iniciar(archivoSql);
}

int Iniciar(const QString& archivoSql) {
    std::unique_ptr<QFile> bitacora;
    int observador = 0;
    if (!archivoSql.isEmpty()) {
        bitacora = std::make_unique<QFile>(archivoSql);
        if (!bitacora->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            MensajeError(QStringLiteral("No se puede escribir la bitácora de sentencias %1: %2")
                             .arg(archivoSql, bitacora->errorString()),
                         QStringLiteral("Error al iniciar"));
            return 1;
        }
        QFile* f = bitacora.get();
        observador = Conexion.agregarObservador([f](const QString& sql) {
            f->write(sql.toUtf8());
            f->write("\n");
            f->flush();
        });
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
    MostrarLogin();
    return 0;
}

}  // namespace Global
