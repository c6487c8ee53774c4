#pragma once
// The statements the windows send, built as they build them (fragments, blanks and all), for
// the tests that run them on the embedded engine or look at how the engine answers them.
#include <QDate>
#include <QString>
#include <QVariant>

namespace sentencias {

inline QString ymd(const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")); }

inline QString sqlSucursalArranque(const QString& sucursal) {
    return "SELECT centro_distribucion,tasa_iva,nombre_sucursal FROM sucursales where sucursal='" +
           sucursal + "'";
}

inline QString sqlEntrada(const QString& clave) {
    return "SELECT erp_oxa.dbo.nombre_persona('" + clave +
           "'), CAST( contrasena AS char( 20)) FROM Personal WHERE persona='" + clave + "' ";
}

inline QString sqlSucursales(const QString& centro) {
    return "SELECT Sucursal,nombre_sucursal FROM sucursales where centro_distribucion='" + centro +
           "'  order by nombre_sucursal";
}

inline QString sqlPromociones() {
    return QStringLiteral(
        "SELECT Promocion, Nombre_promocion FROM NORV.dbo.Promociones WHERE Tipo_venta= 4  order "
        "by nombre_promocion");
}

inline QString sqlVendedores(const QString& centro) {
    return QStringLiteral("SELECT p.persona,p.apellidos,p.nombres from personal p  ") +
           "JOIN  sucursales s on s.sucursal=p.sucursal  " + "WHERE s.centro_distribucion='" +
           centro + "'  " + "AND   p.es_vendedor = 1  " + "ORDER BY 2,3  ";
}

inline QString sqlVerificadores(const QString& centro) {
    return QStringLiteral("SELECT p.persona,p.apellidos,p.nombres from personal p  ") +
           "JOIN  sucursales s on s.sucursal=p.sucursal  " + "WHERE s.centro_distribucion='" +
           centro + "'  " + "AND   p.es_verificador=1  " + "ORDER BY 2,3  ";
}

inline QString sqlTicket(const QString& documento) {
    return "SELECT fecha FROM anticipos_clientes WHERE documento = " + documento + " AND saldo > 0";
}

inline QString sqlResolverSucursal(int n) {
    return "SELECT sucursal FROM Sucursales WHERE Sucursal=" + QString::number(n) + " ";
}

inline QString sqlResolverPersona(int n) {
    return "SELECT persona FROM personal WHERE Persona=" + QString::number(n) + " ";
}

inline QString sqlHomonimos(const QString& nombre) {
    return "SELECT COUNT(cliente) FROM clientes WHERE Nombre_Cliente LIKE '" + nombre + "'";
}

inline QString sqlClientesEncontrados(const QString& nombre) {
    return "SELECT cliente 'Cliente',RFC 'RFC',nombre_cliente'Nombre "
           "Cliente',NORV.dbo.cliente_credito(cliente) 'Créditos',ERP_OXA.dbo.Domicilio_Cliente ( "
           "cliente)'Domicilio' FROM clientes WHERE Nombre_Cliente LIKE '" +
           nombre + "'";
}

inline QString sqlVerificaciones(double cliente) {
    return QStringLiteral("SELECT  s.solicitud, ") +
           "dbo.fecha_corta(s.fecha_recepcion) 'F.Recibido', " + "su.nombre_sucursal, " +
           "ERP_OXA.dbo.Nombre_Persona( r.verificador)  AS Verificador, " + "r.relacion, " +
           "dbo.fecha_corta(r.fecha_entrega) 'F.Verificacion', " +
           "dbo.fecha_Corta(r.fecha_recepcion_real) 'F.Respuesta', " +
           "d.estado_actual 'Estado Solicitud', " + "d.comentarios " +
           "FROM    norv.dbo.Solicitudes_cliente_Nuevo s " +
           "JOIN    ERP_OXA.dbo.Sucursales su         ON s.sucursal  = su.sucursal " + "Left " +
           "JOIN    norv.dbo.Detalles_Relaciones_Solicitudes d ON s.solicitud = d.solicitud  " +
           "Left " +
           "JOIN    norv.dbo.Relaciones_Solicitudes_Credito r  ON d.relacion  = r.relacion " +
           "Where s.cliente = " + QString::number(cliente) + " ";
}

struct Alta {
    bool clienteNuevo;
    double cliente;
    QString importe, claveSucursal, telefono, nombreAval, apellidosAval, documento;
    int promocion;
    QDate fechaTicket;
    QString clavePersona;
};

inline QString sqlAltaSolicitud(const Alta& a) {
    return QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo ") + "(Cliente, " +
           "Fecha_recepcion, " + "Importe_Solicitud, " + "Sucursal, " + "Promocion, " +
           "telefono, " + "Nombre_Aval, " +
           (a.clienteNuevo ? "apellidos_Aval, " : "Apellidos_Aval, ") + "Rastreado, " +
           "Documento, " + "fecha_tienda, " + "Vendedor) " + "VALUES( " + " " +
           QString::number(a.cliente) + ", " + "GETDATE(), " + a.importe + ", " + "'" +
           a.claveSucursal + "', " + "'" + QString::number(a.promocion) + "', " + "'" + a.telefono +
           "', " + "'" + a.nombreAval + "','" + a.apellidosAval +
           (a.clienteNuevo ? QStringLiteral("' , ") + "1, " : QStringLiteral("', ") + "0, ") +
           a.documento + ", " + "'" + ymd(a.fechaTicket) + "', " + "'" + a.clavePersona + "') ";
}

inline QString sqlBorrarSolicitud(double folio) {
    return "DELETE FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=" +
           QString::number(folio) + " ";
}

inline QString sqlPendientes(const QString& centro) {
    return QStringLiteral(
               "SELECT s.solicitud,su.nombre_sucursal,ERP_OXA.dbo.fecha_corta(s.fecha_recepcion),"
               "erp_oxa.dbo.nombre_cliente(cliente) from NORV.dbo.Solicitudes_cliente_Nuevo s  ") +
           "JOIN  sucursales su on s.sucursal= su.sucursal  " + "WHERE su.centro_distribucion='" +
           centro + "'  " + "AND   relacion IS NULL  " + "AND   estado_actual<>'Rechazada'  " +
           "ORDER BY 1,2,3 ";
}

inline QString sqlAltaRelacion(const QString& centro, const QString& clave) {
    return QStringLiteral("INSERT INTO norv.dbo.Relaciones_Solicitudes_credito  ") +
           "(centro_distribucion, " + "verificador, " + "elaborada_por) " + "VALUES( " + " '" +
           centro + "', " + "'" + clave + "', " + "'" + clave + "') ";
}

inline QString sqlAltaLinea(double relacion, const QVariant& solicitud) {
    return "INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( Relacion,Solicitud,tiene_cita) "
           "VALUES( " +
           QString::number(relacion) + "," + solicitud.toString() + ",1 )";
}

inline QString sqlAsignar(double relacion, const QVariant& solicitud) {
    return "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =" + QString::number(relacion) +
           " WHERE Solicitud = " + solicitud.toString();
}

inline QString sqlRelaciones(const QString& centro, const QDate& del, const QDate& al) {
    return QStringLiteral(" SELECT r.relacion 'Relación', ") + " fecha_entrega 'Entrega', " +
           " r.fecha_recepcion_real 'Recepción', " +
           " erp_oxa.dbo.nombre_persona (verificador) 'Verificador', " +
           " r.estado_actual 'Estado Relación' " +
           " FROM norv.dbo.Relaciones_Solicitudes_credito r " + " WHERE centro_distribucion='" +
           centro + "'  " + " AND  Fecha_entrega BETWEEN  erp_oxa.dbo.fecha('" + ymd(del) +
           "','Inicio') and erp_oxa.dbo.fecha('" + ymd(al) + "','Final')  order by relacion";
}

// The reception search: `clave` is the verifier's 7-character key, or empty for "* Todos *".
inline QString sqlRecepcion(const QString& clave, const QString& centro, const QDate& del,
                            const QDate& al) {
    QString s =
        QStringLiteral(" SELECT d.relacion 'Relación', ") + " s.solicitud 'Solicitud Cliente', " +
        " erp_oxa.dbo.nombre_sucursal(s.sucursal), " +
        " erp_oxa.dbo.nombre_persona (r.verificador), " + " s.fecha_recepcion 'Fecha Recepción', " +
        " d.fecha_verificacion 'Fecha Verificación', " + " s.cliente 'cliente', " +
        " erp_oxa.dbo.nombre_cliente(s.cliente)'Nombre Cliente', " +
        " d.estado_actual 'Estado Relación', " + " d.Linea_autorizada 'Linea Autorizada', " +
        " d.tipo_Verificacion 'Tipo Verificación', " + " d.comentarios 'Comentarios', " +
        " d.recomienda_verificador 'R.Verificador' " +
        " FROM norv.dbo.Relaciones_Solicitudes_credito r" +
        " JOIN norv.dbo.detalles_Relaciones_Solicitudes d ON r.relacion   =  d.relacion " +
        " JOIN NORV.dbo.Solicitudes_cliente_Nuevo s       ON d.solicitud  =  s.solicitud ";
    if (!clave.isEmpty())
        s += " WHERE r.verificador LIKE '" + clave + "'  ";
    else
        s += QStringLiteral(" WHERE r.verificador LIKE '%'  ") +
             " AND   r.centro_distribucion = '" + centro + "'  ";
    return s + " AND   r.fecha_entrega BETWEEN  erp_oxa.dbo.fecha('" + ymd(del) +
           "','Inicio') and erp_oxa.dbo.fecha('" + ymd(al.addDays(1)) + "','Final') order by 3";
}

inline QString sqlQuitarDeRelacion(const QVariant& solicitud) {
    return "UPDATE NORV.dbo.Solicitudes_cliente_Nuevo SET relacion = null WHERE solicitud=" +
           solicitud.toString() + " ";
}

inline QString sqlBorrarLineas(const QVariant& solicitud) {
    return "DELETE FROM NORV.dbo.Detalles_Relaciones_Solicitudes WHERE solicitud = " +
           solicitud.toString() + " ";
}

inline QString sqlGuardarLinea(bool primera, const QVariant& relacion, const QVariant& solicitud,
                               const QString& estado, const QString& tipo, const QString& linea,
                               const QString& comentarios, const QString& recomienda) {
    return (primera ? QStringLiteral("UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET "
                                     "fecha_verificacion = GETDATE(),estado_Actual='")
                    : QStringLiteral(
                          "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual='")) +
           estado + "',Tipo_Verificacion='" + tipo + "',Linea_Autorizada=" + linea +
           ", comentarios='" + comentarios + "',recomienda_verificador='" + recomienda +
           "' WHERE relacion=" + relacion.toString() + " and solicitud = " + solicitud.toString() +
           " ";
}

inline QString sqlGuardarSolicitud(const QVariant& solicitud, const QString& estado,
                                   const QString& comentarios) {
    return "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='" + estado +
           "', comentarios='" + comentarios + "' WHERE solicitud = " + solicitud.toString() + " ";
}

inline QString sqlRechazos(const QString& centro, const QDate& del, const QDate& al) {
    return QStringLiteral(
               " SELECT s.solicitud 'Solicitud',dbo.alltrim(su.nombre_sucursal) "
               "'Sucursal',ERP_OXA.dbo.fecha_corta(s.fecha_recepcion)'Fecha "
               "Recepción',dbo.alltrim(erp_oxa.dbo.nombre_cliente(cliente)) 'Nombre "
               "Cliente',s.estado_actual 'Estado Solicitud' from "
               "NORV.dbo.Solicitudes_cliente_Nuevo "
               "s  ") +
           "  JOIN  sucursales su on s.sucursal= su.sucursal  " +
           "  WHERE su.centro_distribucion='" + centro + "'  " + "  AND   relacion IS NULL  " +
           "  AND  Fecha_recepcion BETWEEN  erp_oxa.dbo.fecha('" + ymd(del) +
           "','Inicio') and erp_oxa.dbo.fecha('" + ymd(al.addDays(1)) +
           "','Final')  order by solicitud";
}

inline QString sqlRechazar(const QVariant& solicitud, const QString& comentario) {
    return "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',comentarios='" +
           comentario + "'  WHERE solicitud=" + solicitud.toString() + " ";
}

inline QString sqlReactivar(const QVariant& solicitud) {
    return "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Recibida',comentarios='"
           "SOLICITUD REACTIVADA'  WHERE solicitud=" +
           solicitud.toString() + " ";
}

inline QString sqlRastreoCliente(const QVariant& cliente) {
    return "SELECT NORV.dbo.cliente_incobrable(" + cliente.toString() +
           "), es_Indeseable FROM clientes WHERE Cliente = " + cliente.toString();
}

inline QString sqlRastreoAval(const QVariant& solicitud) {
    return "SELECT apellidos_aval,nombre_aval FROM NORV.dbo.solicitudes_cliente_nuevo WHERE "
           "Solicitud = " +
           solicitud.toString();
}

inline QString sqlVersion() {
    return QStringLiteral(
        "select Version,cierra,envia_Email from norv.dbo.Programas_Version where Programa = 2");
}

// The tracking window's search for other customers with the application's telephone.
inline QString sqlRastreoTelefono(const QVariant& solicitud) {
    return QStringLiteral(
               "SELECT DISTINCT o.Cliente FROM NORV.dbo.Solicitudes_cliente_Nuevo s "
               "JOIN NORV.dbo.Solicitudes_cliente_Nuevo o ON o.telefono = s.telefono "
               "WHERE s.solicitud = ") +
           solicitud.toString() +
           QStringLiteral(" AND s.telefono <> '' AND o.Cliente <> s.Cliente ORDER BY o.Cliente");
}

}  // namespace sentencias
