#include "capture/sentencias_captura.h"

#include "db/sql.h"

namespace captura {

QString SentenciaSucursales(const QString& centro) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasSucursales, ",") +
           QStringLiteral(" FROM sucursales where centro_distribucion=") + db::Texto(centro) +
           QStringLiteral("  order by nombre_sucursal");
}

QString SentenciaPromociones() {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasPromociones, ", ") +
           QStringLiteral(
               " FROM NORV.dbo.Promociones WHERE Tipo_venta= 4  order by "
               "nombre_promocion");
}

QString SentenciaTicket(qint64 documento) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasTicket, ",") +
           QStringLiteral(" FROM anticipos_clientes WHERE documento = ") + db::Entero(documento) +
           QStringLiteral(" AND saldo > 0");
}

QString SentenciaClaveSucursal(qint64 sucursal) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasClaveSucursal, ",") +
           QStringLiteral(" FROM Sucursales WHERE Sucursal=") + db::Entero(sucursal) +
           QStringLiteral(" ");
}

QString SentenciaHomonimos(const QString& nombreCompleto) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasHomonimos, ",") +
           QStringLiteral(" FROM clientes WHERE Nombre_Cliente LIKE ") + db::Texto(nombreCompleto);
}

QString SentenciaClientes(const QString& nombreCompleto) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasClientes, ",") +
           QStringLiteral(" FROM clientes WHERE Nombre_Cliente LIKE ") + db::Texto(nombreCompleto);
}

QString SentenciaVerificaciones(double cliente) {
    return QStringLiteral("SELECT  s.solicitud, ") +
           QStringLiteral("dbo.fecha_corta(s.fecha_recepcion) 'F.Recibido', ") +
           QStringLiteral("su.nombre_sucursal, ") +
           QStringLiteral("ERP_OXA.dbo.Nombre_Persona( r.verificador)  AS Verificador, ") +
           QStringLiteral("r.relacion, ") +
           QStringLiteral("dbo.fecha_corta(r.fecha_entrega) 'F.Verificacion', ") +
           QStringLiteral("dbo.fecha_Corta(r.fecha_recepcion_real) 'F.Respuesta', ") +
           QStringLiteral("d.estado_actual 'Estado Solicitud', ") +
           QStringLiteral("d.comentarios ") +
           QStringLiteral("FROM    norv.dbo.Solicitudes_cliente_Nuevo s ") +
           QStringLiteral(
               "JOIN    ERP_OXA.dbo.Sucursales su         ON s.sucursal  = su.sucursal ") +
           QStringLiteral("Left ") +
           QStringLiteral(
               "JOIN    norv.dbo.Detalles_Relaciones_Solicitudes d ON s.solicitud = d.solicitud "
               " ") +
           QStringLiteral("Left ") +
           QStringLiteral(
               "JOIN    norv.dbo.Relaciones_Solicitudes_Credito r  ON d.relacion  = r.relacion ") +
           QStringLiteral("Where s.cliente = ") + db::Numero(cliente, 0) + QStringLiteral(" ");
}

QString SentenciaVersion() {
    return QStringLiteral("select ") + db::ListaSelect(kColumnasVersion, ",") +
           QStringLiteral(" from norv.dbo.Programas_Version where Programa = 2");
}

QString SentenciaAlta(const AltaSolicitud& a) {
    return QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo ") +
           QStringLiteral("(Cliente, ") + QStringLiteral("Fecha_recepcion, ") +
           QStringLiteral("Importe_Solicitud, ") + QStringLiteral("Sucursal, ") +
           QStringLiteral("Promocion, ") + QStringLiteral("telefono, ") +
           QStringLiteral("Nombre_Aval, ") +
           (a.clienteNuevo ? QStringLiteral("apellidos_Aval, ")
                           : QStringLiteral("Apellidos_Aval, ")) +
           QStringLiteral("Rastreado, ") + QStringLiteral("Documento, ") +
           QStringLiteral("fecha_tienda, ") + QStringLiteral("Vendedor) ") +
           QStringLiteral("VALUES( ") + QStringLiteral(" ") + db::Numero(a.cliente, 0) +
           QStringLiteral(", ") + QStringLiteral("GETDATE(), ") +
           db::Numero(a.importe, DecimalesImporte) + QStringLiteral(", ") + db::Texto(a.sucursal) +
           QStringLiteral(", ") + db::Texto(db::Entero(a.promocion)) + QStringLiteral(", ") +
           db::Texto(a.telefono) + QStringLiteral(", ") + db::Texto(a.nombreAval) +
           QStringLiteral(",") + db::Texto(a.apellidosAval) +
           (a.clienteNuevo ? QStringLiteral(" , ") + QStringLiteral("1, ")
                           : QStringLiteral(", ") + QStringLiteral("0, ")) +
           db::Entero(a.documento) + QStringLiteral(", ") + db::Texto(db::Fecha(a.fechaTienda)) +
           QStringLiteral(", ") + db::Texto(a.vendedor) + QStringLiteral(") ");
}

QString SentenciaBorrar(qint64 solicitud) {
    return QStringLiteral("DELETE FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=") +
           db::Entero(solicitud) + QStringLiteral(" ") + QStringLiteral(" AND Relacion IS NULL");
}

QString SentenciaExisteSolicitud(qint64 solicitud) {
    return QStringLiteral(
               "SELECT solicitud FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=") +
           db::Entero(solicitud);
}

}  // namespace captura
