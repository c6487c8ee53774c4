#include "batches/sentencias_relaciones.h"

#include "db/sql.h"

namespace relaciones {

QString SentenciaPendientes(const QString& centro) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasPendientes, ",") +
           QStringLiteral(" from NORV.dbo.Solicitudes_cliente_Nuevo s  ") +
           QStringLiteral("JOIN  sucursales su on s.sucursal= su.sucursal  ") +
           QStringLiteral("WHERE su.centro_distribucion=") + db::Texto(centro) +
           QStringLiteral("  ") + QStringLiteral("AND   relacion IS NULL  ") +
           QStringLiteral("AND   estado_actual<>'Rechazada'  ") + QStringLiteral("ORDER BY 1,2,3 ");
}

QString SentenciaAlta(const QString& centro, const QString& clave) {
    return QStringLiteral("INSERT INTO norv.dbo.Relaciones_Solicitudes_credito  ") +
           QStringLiteral("(centro_distribucion, ") + QStringLiteral("verificador, ") +
           QStringLiteral("elaborada_por) ") + QStringLiteral("VALUES( ") + QStringLiteral(" ") +
           db::Texto(centro) + QStringLiteral(", ") + db::Texto(clave) + QStringLiteral(", ") +
           db::Texto(clave) + QStringLiteral(") ");
}

QString SentenciaLinea(qint64 relacion, qint64 solicitud) {
    return QStringLiteral(
               "INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
               "Relacion,Solicitud,tiene_cita) VALUES( ") +
           db::Entero(relacion) + QStringLiteral(",") + db::Entero(solicitud) +
           QStringLiteral(",1 )");
}

QString SentenciaAsignar(qint64 relacion, qint64 solicitud) {
    return QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =") +
           db::Entero(relacion) + QStringLiteral(" WHERE Solicitud = ") + db::Entero(solicitud) +
           QStringLiteral(" AND Relacion IS NULL AND estado_actual<>'Rechazada'");
}

QString SentenciaExisteRelacion(qint64 relacion) {
    return QStringLiteral(
               "SELECT relacion FROM norv.dbo.Relaciones_Solicitudes_credito WHERE relacion=") +
           db::Entero(relacion);
}

QString SentenciaRelaciones(const QString& centro, const QDate& del, const QDate& al) {
    return QStringLiteral(" SELECT ") + db::ListaSelect(kColumnasRelaciones, ",  ") +
           QStringLiteral("  FROM norv.dbo.Relaciones_Solicitudes_credito r ") +
           QStringLiteral(" WHERE centro_distribucion=") + db::Texto(centro) +
           QStringLiteral("  ") +
           QStringLiteral(" AND  Fecha_entrega BETWEEN  erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(del)) + QStringLiteral(",'Inicio') and erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(al)) + QStringLiteral(",'Final')  order by relacion");
}

}  // namespace relaciones
