#include "demo/crear_demo.h"

#include <QDir>
#include <QFile>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "demo/demo.h"
#include "startup/cifrado.h"
#include "startup/configuracion.h"
#include "startup/global.h"
#include "startup/tabla_dbf.h"

QString CrearDemo(const QString& carpeta) {
    QDir dir(carpeta);
    if (!dir.mkpath(QStringLiteral(".")))
        throw Global::ErrorArranque(
            QStringLiteral("No se puede crear la carpeta %1.").arg(carpeta));
    const QString datos = dir.filePath(QStringLiteral("datos"));
    // A fresh demo each time: sample rows seeded twice would duplicate customers and staff.
    for (const char* archivo : {"erp_oxa.sqlite", "norv.sqlite"}) {
        const QString ruta = QDir(datos).filePath(QLatin1String(archivo));
        if (QFile::exists(ruta) && !QFile::remove(ruta))
            throw Global::ErrorArranque(QStringLiteral("No se puede reemplazar %1.").arg(ruta));
    }
    try {
        db::MotorIncrustado motor(datos);
        demo::SembrarDemo(motor);
    } catch (const db::ErrorBD& e) {
        throw Global::ErrorArranque(e.mensaje());
    }

    try {
        dbf::EscribirTabla(configuracion::RutaArranque(carpeta),
                           {{QStringLiteral("SERVER_SQL"), 60, QStringLiteral("sqlite:datos")},
                            {QStringLiteral("USUARIO"), 30, QStringLiteral("sa")},
                            {QStringLiteral("CONTRASENA"), 40, Cifrar(QStringLiteral("SQL"), 1)},
                            {QStringLiteral("TOKEN"), 20, Cifrar(demo::kSucursal, 1)}});
    } catch (const dbf::ErrorDbf& e) {
        throw Global::ErrorArranque(e.mensaje());
    }

    configuracion::Ajustes a = configuracion::AjustesPredeterminados(carpeta);
    // The demo talks to services on this machine only, and draws its batch reports itself.
    a.servidorReportes = QStringLiteral("integrado");
    a.correoHost = QStringLiteral("localhost");
    configuracion::EscribirAjustes(carpeta, a);

    const QString absoluta = QDir(carpeta).absolutePath();
    return QStringLiteral(
               "Configuración de demostración creada en %1\n"
               "Para iniciar:  OXA_DIR=%1 solicitudes\n"
               "Usuario: %2\n"
               "Contraseña: %3\n")
        .arg(absoluta, demo::kUsuario, demo::kContrasena);
}
