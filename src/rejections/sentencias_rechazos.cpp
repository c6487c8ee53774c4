#include "rejections/sentencias_rechazos.h"

#include "db/sql.h"

namespace rechazos {

namespace {

QString ComoSeListo(const QVariant& estado) {
    return QStringLiteral(" AND relacion IS NULL AND ") +
           db::TextoIgual(QStringLiteral("estado_actual"), estado);
}

}  // namespace

QString SentenciaSolicitudes(const QString& centro, const QDate& del, const QDate& al) {
    return QStringLiteral(" SELECT ") + db::ListaSelect(kColumnasSolicitudes, ",") +
           QStringLiteral(" from NORV.dbo.Solicitudes_cliente_Nuevo s  ") +
           QStringLiteral("  JOIN  sucursales su on s.sucursal= su.sucursal  ") +
           QStringLiteral("  WHERE su.centro_distribucion=") + db::Texto(centro) +
           QStringLiteral("  ") + QStringLiteral("  AND   relacion IS NULL  ") +
           QStringLiteral("  AND  Fecha_recepcion BETWEEN  erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(del)) + QStringLiteral(",'Inicio') and erp_oxa.dbo.fecha(") +
           // The whole day after the one shown is taken in as well.
           db::Texto(db::Fecha(al.addDays(1))) + QStringLiteral(",'Final')  order by solicitud");
}

QString SentenciaRechazar(qint64 solicitud, const QString& comentario) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',"
               "comentarios=") +
           db::Texto(comentario) + QStringLiteral("  WHERE solicitud=") + db::Entero(solicitud) +
           QStringLiteral(" ") + ComoSeListo(QStringLiteral("Recibida"));
}

QString SentenciaReactivar(qint64 solicitud, const QVariant& estado) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Recibida',"
               "comentarios='SOLICITUD REACTIVADA'  WHERE solicitud=") +
           db::Entero(solicitud) + QStringLiteral(" ") + ComoSeListo(estado);
}

}  // namespace rechazos
