#include "db/solicitud_actual.h"

#include <memory>

#include "db/conexion.h"
#include "db/sql.h"

namespace db {

QString SentenciaSolicitudActual(long long solicitud) {
    return QStringLiteral("SELECT ") + ListaSelect(kColumnasActual, ", ") +
           QStringLiteral(" FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=") +
           Entero(solicitud);
}

SolicitudActual LeerSolicitudActual(Conexion& conexion, long long solicitud) {
    Recordset r;
    r.abrir(SentenciaSolicitudActual(solicitud), conexion);
    SolicitudActual actual;
    if (r.eof()) return actual;
    const Lectura columnas(r, kColumnasActual);
    const QVariant relacion = columnas.campo(r, Actual::Relacion);
    actual.existe = true;
    actual.relacion = relacion.isNull() ? 0 : relacion.toLongLong();
    actual.estado = columnas.campo(r, Actual::Estado).toString().trimmed();
    return actual;
}

QString DescribirSolicitud(long long solicitud, const SolicitudActual& actual) {
    const QString quien = QStringLiteral("Solicitud %1: ").arg(solicitud);
    if (!actual.existe) return quien + QStringLiteral("ya no existe");
    if (actual.relacion != 0)
        return quien + QStringLiteral("ya está en la relación %1").arg(actual.relacion);
    if (actual.estado.compare(QLatin1String("Rechazada"), Qt::CaseInsensitive) == 0)
        return quien + QStringLiteral("fue rechazada");
    return quien +
           QStringLiteral("está en estado %1")
               .arg(actual.estado.isEmpty() ? QStringLiteral("(sin estado)") : actual.estado);
}

}  // namespace db
