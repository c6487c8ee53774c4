#include "tracking/sentencias_rastreo.h"

#include "db/sql.h"

namespace rastreo {

QString SentenciaCliente(qint64 cliente) {
    const QString n = db::Entero(cliente);
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasCliente, ", ").arg(n) +
           QStringLiteral(" FROM clientes WHERE Cliente = ") + n;
}

QString SentenciaAval(qint64 solicitud) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasAval, ",") +
           QStringLiteral(" FROM NORV.dbo.solicitudes_cliente_nuevo WHERE Solicitud = ") +
           db::Entero(solicitud);
}

QString SentenciaTelefono(qint64 solicitud) {
    return QStringLiteral("SELECT DISTINCT ") + db::ListaSelect(kColumnasTelefono, ",") +
           QStringLiteral(
               " FROM NORV.dbo.Solicitudes_cliente_Nuevo s "
               "JOIN NORV.dbo.Solicitudes_cliente_Nuevo o ON o.telefono = s.telefono "
               "WHERE s.solicitud = ") +
           db::Entero(solicitud) +
           QStringLiteral(" AND s.telefono <> '' AND o.Cliente <> s.Cliente ORDER BY o.Cliente");
}

QString SentenciaRechazar(qint64 solicitud, const QString& comentario, const QVariant& estado) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',"
               "comentarios=") +
           db::Texto(comentario) + QStringLiteral("  WHERE solicitud=") + db::Entero(solicitud) +
           QStringLiteral(" ") + QStringLiteral(" AND relacion IS NULL AND ") +
           db::TextoIgual(QStringLiteral("estado_actual"), estado);
}

}  // namespace rastreo
