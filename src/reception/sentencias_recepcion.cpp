#include "reception/sentencias_recepcion.h"

#include "db/sql.h"

namespace recepcion {

QString SentenciaBusqueda(const QString& verificador, const QString& centro, const QDate& del,
                          const QDate& al) {
    QString sql =
        QStringLiteral(" SELECT ") + db::ListaSelect(kColumnasBusqueda, ",  ") +
        QStringLiteral("  FROM norv.dbo.Relaciones_Solicitudes_credito r") +
        QStringLiteral(
            " JOIN norv.dbo.detalles_Relaciones_Solicitudes d ON r.relacion   =  d.relacion ") +
        QStringLiteral(
            " JOIN NORV.dbo.Solicitudes_cliente_Nuevo s       ON d.solicitud  =  s.solicitud ");
    if (!verificador.isEmpty()) {
        // One verifier: every centre's batches handed to that key.
        sql += QStringLiteral(" WHERE r.verificador LIKE ") + db::Texto(verificador) +
               QStringLiteral("  ");
    } else {
        sql += QStringLiteral(" WHERE r.verificador LIKE '%'  ") +
               QStringLiteral(" AND   r.centro_distribucion = ") + db::Texto(centro) +
               QStringLiteral("  ");
    }
    // The end of the range is the day after the second date, so a batch handed over today
    // shows with the dates as they open.
    return sql + QStringLiteral(" AND   r.fecha_entrega BETWEEN  erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(del)) + QStringLiteral(",'Inicio') and erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(al.addDays(1))) + QStringLiteral(",'Final') order by 3");
}

QString SentenciaQuitar(qint64 solicitud, qint64 relacion) {
    const QString s = db::Entero(solicitud), r = db::Entero(relacion);
    return QStringLiteral(
               "UPDATE NORV.dbo.Solicitudes_cliente_Nuevo SET relacion = null WHERE solicitud=") +
           s + QStringLiteral(" ") + QStringLiteral(" AND relacion=") + r +
           QStringLiteral(
               " AND EXISTS (SELECT 1 FROM NORV.dbo.Detalles_Relaciones_Solicitudes WHERE "
               "relacion=") +
           r + QStringLiteral(" AND solicitud=") + s + QStringLiteral(" AND ") +
           db::TextoIgual(QStringLiteral("estado_Actual"), QStringLiteral("Entregada")) +
           QStringLiteral(")");
}

QString SentenciaBorrarLineas(qint64 solicitud) {
    return QStringLiteral(
               "DELETE FROM NORV.dbo.Detalles_Relaciones_Solicitudes WHERE solicitud = ") +
           db::Entero(solicitud) + QStringLiteral(" ");
}

QString SentenciaLinea(const Resultado& r) {
    const QString inicio =
        r.revisada
            ? QStringLiteral("UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual=")
            : QStringLiteral(
                  "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET "
                  "fecha_verificacion = GETDATE(),estado_Actual=");
    return inicio + db::Texto(r.estado) + QStringLiteral(",Tipo_Verificacion=") +
           db::Texto(r.tipo) + QStringLiteral(",Linea_Autorizada=") +
           db::Numero(r.linea, DecimalesLinea) + QStringLiteral(", comentarios=") +
           db::Texto(r.comentarios) + QStringLiteral(",recomienda_verificador=") +
           db::Texto(r.recomienda) + QStringLiteral(" WHERE relacion=") + db::Entero(r.relacion) +
           QStringLiteral(" and solicitud = ") + db::Entero(r.solicitud) + QStringLiteral(" ");
}

QString SentenciaSolicitud(qint64 solicitud, const QString& estado, const QString& comentarios) {
    return QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual=") +
           db::Texto(estado) + QStringLiteral(", comentarios=") + db::Texto(comentarios) +
           QStringLiteral(" WHERE solicitud = ") + db::Entero(solicitud) + QStringLiteral(" ");
}

QString CondicionSinCambios(const LineaLeida& l) {
    auto texto = [](const char* columna, const QVariant& valor) {
        return QStringLiteral(" AND ") + db::TextoIgual(QLatin1String(columna), valor);
    };
    const QString linea = l.linea.isNull()
                              ? QStringLiteral(" AND Linea_Autorizada IS NULL")
                              : QStringLiteral(" AND Linea_Autorizada=") +
                                    db::Numero(db::NumeroDe(l.linea), db::TodasLasCifras);
    return texto("estado_Actual", l.estado) + texto("Tipo_Verificacion", l.tipo) + linea +
           texto("comentarios", l.comentarios) + texto("recomienda_verificador", l.recomendacion) +
           (l.revisada ? QStringLiteral(" AND fecha_verificacion IS NOT NULL")
                       : QStringLiteral(" AND fecha_verificacion IS NULL"));
}

}  // namespace recepcion
