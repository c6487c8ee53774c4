#include "capture/revisar_version.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstdio>

#include "capture/sentencias_captura.h"
#include "db/error_bd.h"
#include "startup/correo.h"
#include "startup/global.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

constexpr int SegundosCorreo = 5;

// Only a true bit counts as a set switch: 0, 1 as a plain number or NULL do not.
bool EsVerdadero(const QVariant& v) { return v.typeId() == QMetaType::Bool && v.toBool(); }

}  // namespace

bool RevisarVersion(QWidget* ventana) {
    Global::CadenaSql = captura::SentenciaVersion();
    db::Recordset& r = Global::Registros;
    try {
        r.abrir(Global::CadenaSql, Global::Conexion);
        if (r.eof()) {
            r.cerrar();
            return true;
        }
        using captura::Publicada;
        const db::Lectura columnas(r, captura::kColumnasVersion);
        const double publicada = columnas.campo(r, Publicada::Version).toDouble();
        const bool cierra = EsVerdadero(columnas.campo(r, Publicada::Cierra));
        const bool enviaCorreo = EsVerdadero(columnas.campo(r, Publicada::EnviaCorreo));
        r.cerrar();
        if (publicada > static_cast<double>(Global::VersionPrograma)) {
            ventana->setWindowTitle(
                ventana->windowTitle() +
                QStringLiteral(" Existe una Nueva Versión del Modulo Disponible!!!"));
            if (enviaCorreo) Envia_Correo(QStringLiteral("Version"));
            if (cierra) {
                MensajeError(
                    QStringLiteral("Existe una Modificación Importante al Módulo, Consulte "
                                   "con Sistemas para su Actualización"),
                    QStringLiteral("Versión Obsoleta Imposible Continuar"));
                Global::Desconectar();
                return false;
            }
            MensajeError(
                QStringLiteral("Existe una Nueva versión del Modulo, consulte con Sistemas"),
                QStringLiteral("Nueva Versión Disponible"));
        }
    } catch (const db::ErrorBD& e) {
        r.cerrar();
        MensajeErrorBD(e);
    }
    return true;
}

void Envia_Correo(const QString& Tipo) {
    QCoreApplication::processEvents();
    const configuracion::Ajustes& a = Global::Ajustes;
    MensajeCorreo m;
    m.host = a.correoHost;
    m.puerto = a.correoPuerto;
    m.remitente = a.correoRemitente;
    m.nombreRemitente = QStringLiteral("Modulo Solicitudes de Crédito");
    m.usuario = a.correoUsuario;
    m.contrasena = a.correoContrasena;
    m.prioridad = 1;
    if (Tipo == QLatin1String("Version")) {
        const QString sucursal = Global::NombreSucursal.trimmed();
        m.destinatarios = a.correoDestinatarios;
        m.asunto = QStringLiteral(
                       "Es Necesario Actualizar la Versión del Modulo solicitudes de "
                       "Crédito, Sucursal: ") +
                   sucursal;
        m.cuerpo = QStringLiteral("La versión del Modulo Modulo solicitudes de Crédito ") +
                   sucursal +
                   QStringLiteral(", esta obsoleta favor de actualizarla a la brevedad posible,") +
                   QStringLiteral("\r\n") + QStringLiteral("Versión Instalada Actualmente: ") +
                   QString::number(Global::VersionPrograma);
    }
    if (m.destinatarios.isEmpty()) return;
    // The capture window shows only after this: a mail server that does not answer holds it up
    // for a few seconds at most, with the hourglass on.
    CursorEspera espera;
    const QString error = EnviarCorreo(m, SegundosCorreo);
    if (!error.isEmpty())
        std::fprintf(stderr, "solicitudes: no se envió el aviso por correo a %s:%d: %s\n",
                     qPrintable(m.host), m.puerto, qPrintable(error));
}
