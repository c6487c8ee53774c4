#include "startup/global.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "db/error_bd.h"
#include "startup/cifrado.h"
#include "startup/reloj_espera.h"
#include "startup/sentencias_arranque.h"
#include "startup/tabla_dbf.h"

namespace Global {

void LeerConfiguracion() {
    const QDir carpeta(CarpetaConfiguracion);
    if (CarpetaConfiguracion.isEmpty() || !carpeta.exists())
        throw ErrorArranque(QStringLiteral("No existe la carpeta de configuración %1.")
                                .arg(QDir::toNativeSeparators(CarpetaConfiguracion)));
    const QString ruta = configuracion::RutaArranque(CarpetaConfiguracion);
    if (!QFileInfo::exists(ruta))
        throw ErrorArranque(QStringLiteral("No se encuentra la tabla de arranque %1.")
                                .arg(QDir::toNativeSeparators(ruta)));

    QHash<QString, QString> campos;
    bool hayRenglon = false;
    try {
        hayRenglon = dbf::LeerPrimerRenglon(ruta, campos);
    } catch (const dbf::ErrorDbf& e) {
        throw ErrorArranque(e.mensaje());
    }
    if (!hayRenglon) {
        CadenaConexion.clear();
        SucursalActual.clear();
        throw ErrorArranque(QStringLiteral("La tabla de arranque %1 no tiene ningún renglón.")
                                .arg(QDir::toNativeSeparators(ruta)));
    }
    for (const char* nombre : {"SERVER_SQL", "USUARIO", "CONTRASENA", "TOKEN"})
        if (!campos.contains(QLatin1String(nombre)))
            throw ErrorArranque(QStringLiteral("A la tabla de arranque le falta el campo %1.")
                                    .arg(QString::fromLatin1(nombre).toLower()));
    // The cipher has no value for an empty text: a blank field is a broken configuration.
    for (const char* nombre : {"CONTRASENA", "TOKEN"})
        if (campos.value(QLatin1String(nombre)).isEmpty())
            throw ErrorArranque(
                QStringLiteral("El campo cifrado %1 de la tabla de arranque está en blanco.")
                    .arg(QString::fromLatin1(nombre).toLower()));

    const QString contrasena = Cifrar(campos.value(QStringLiteral("CONTRASENA")), 0);
    SucursalActual = Cifrar(campos.value(QStringLiteral("TOKEN")), 0);
    const QString servidor = campos.value(QStringLiteral("SERVER_SQL"));
    const QString usuario = campos.value(QStringLiteral("USUARIO"));
    CadenaConexion = QStringLiteral("Driver={SQL Server};Server=") + servidor +
                     QStringLiteral(";Database=erp_oxa;Uid=") + usuario + QStringLiteral(";Pwd=") +
                     contrasena + QStringLiteral(";");
}

void Conectar() {
    LeerConfiguracion();
    // Opening may already wait for a station that is writing.
    Conexion.alEsperarBloqueo(MostrarRelojAlEsperar);
    Conexion.alTrabajar(AtenderVentanasAlTrabajar);
    try {
        Conexion.abrir(CadenaConexion, CarpetaConfiguracion);
        CadenaSql = arranque::SentenciaSucursal(SucursalActual);
        Registros.abrir(CadenaSql, Conexion);
        if (!Registros.eof()) {
            using arranque::Sucursal;
            const db::Lectura columnas(Registros, arranque::kColumnasSucursal);
            CentroDistribucion = columnas.campo(Registros, Sucursal::Centro).toString();
            NombreSucursal = columnas.campo(Registros, Sucursal::Nombre).toString();
        }
        Registros.cerrar();
    } catch (const db::ErrorBD& e) {
        Registros.cerrar();
        Conexion.cerrar();
        throw ErrorArranque(
            QStringLiteral("No se pudo conectar a la base de datos:\n%1").arg(e.mensaje()));
    }
}

void Desconectar() {
    Registros.cerrar();
    Registros2.cerrar();
    Conexion.cerrar();
}

}  // namespace Global
