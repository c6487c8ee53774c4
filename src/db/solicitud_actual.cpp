#include "db/solicitud_actual.h"

#include <memory>

#include "db/conexion.h"

namespace db {

SolicitudActual LeerSolicitudActual(Conexion& conexion, long long solicitud) {
    std::unique_ptr<Resultado> r = conexion.consultar(
        QStringLiteral("SELECT Relacion, estado_actual FROM norv.dbo.Solicitudes_cliente_Nuevo "
                       "WHERE solicitud=%1")
            .arg(solicitud));
    SolicitudActual actual;
    if (!r->siguiente()) return actual;
    actual.existe = true;
    actual.relacion = r->valor(0).isNull() ? 0 : r->valor(0).toLongLong();
    actual.estado = r->valor(1).toString().trimmed();
    return actual;
}

QString DescribirSolicitud(long long solicitud, const SolicitudActual& actual) {
    const QString quien = QStringLiteral("Solicitud %1: ").arg(solicitud);
    if (!actual.existe) return quien + QStringLiteral("ya no existe");
    if (actual.relacion != 0)
        return quien + QStringLiteral("ya está en la relación %1").arg(actual.relacion);
    if (actual.estado.compare(QLatin1String("Rechazada"), Qt::CaseInsensitive) == 0)
        return quien + QStringLiteral("fue rechazada");
    return quien + QStringLiteral("está en estado %1")
                       .arg(actual.estado.isEmpty() ? QStringLiteral("(sin estado)") : actual.estado);
}

}  // namespace db
