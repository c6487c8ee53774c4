#include "tablero/sentencias_tablero.h"

#include "db/sql.h"

namespace tablero {

namespace {

QString Entre(const char* columna, const Rango& r) {
    return QLatin1String(columna) + QStringLiteral(" BETWEEN erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(r.del)) + QStringLiteral(",'Inicio') and erp_oxa.dbo.fecha(") +
           db::Texto(db::Fecha(r.al)) + QStringLiteral(",'Final')");
}

// The applications captured in the range in the centre's branches, joined to `mas`.
QString Captadas(const Rango& r, const QString& mas = QString()) {
    return QStringLiteral(
               " FROM NORV.dbo.Solicitudes_cliente_Nuevo s JOIN sucursales su ON "
               "s.sucursal = su.sucursal") +
           mas + QStringLiteral(" WHERE su.centro_distribucion=") + db::Texto(r.centro) +
           QStringLiteral(" AND ") + Entre("s.Fecha_recepcion", r);
}

// The days from the first of the range to `columna`.
QString DiaDelRango(const char* columna, const Rango& r) {
    return QStringLiteral("DATEDIFF(day, ") + db::Texto(db::Fecha(r.del)) + QStringLiteral(", ") +
           QLatin1String(columna) + QLatin1Char(')');
}

QString PorDia(const QString& dia, const QString& desde) {
    return QStringLiteral("SELECT ") + dia + QStringLiteral(" 'Dia', ") +
           QString::fromUtf8(kColumnasDias[1].item) + desde + QStringLiteral(" GROUP BY ") + dia;
}

const QString kEspera = QStringLiteral("DATEDIFF(day, s.Fecha_recepcion, GETDATE())");
// As the batch window lists them: in no batch and not rejected.
const QString kSinRelacion =
    QStringLiteral(" AND s.Relacion IS NULL AND s.estado_actual<>'Rechazada'");

}  // namespace

QString SentenciaEstados(const Rango& r) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasEstados, ", ") + Captadas(r) +
           QStringLiteral(" GROUP BY su.sucursal, su.nombre_sucursal, s.Vendedor, s.estado_actual");
}

QString SentenciaCapturadas(const Rango& r) {
    return PorDia(DiaDelRango("s.Fecha_recepcion", r), Captadas(r));
}

QString SentenciaRelaciones(const Rango& r) {
    return PorDia(DiaDelRango("r.fecha_entrega", r),
                  QStringLiteral(" FROM norv.dbo.Relaciones_Solicitudes_credito r WHERE "
                                 "r.centro_distribucion=") +
                      db::Texto(r.centro) + QStringLiteral(" AND ") + Entre("r.fecha_entrega", r));
}

QString SentenciaPendientes(const Rango& r) { return PorDia(kEspera, Captadas(r) + kSinRelacion); }

QString SentenciaListaPendientes(const Rango& r, int desde, int hasta) {
    const QString dias = hasta < 0 ? QStringLiteral(" >= ") + db::Entero(desde)
                                   : QStringLiteral(" BETWEEN ") + db::Entero(desde) +
                                         QStringLiteral(" AND ") + db::Entero(hasta);
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasPendientes, ", ") + Captadas(r) +
           kSinRelacion + QStringLiteral(" AND ") + kEspera + dias +
           QStringLiteral(" ORDER BY s.Fecha_recepcion, s.solicitud");
}

QString SentenciaTiempos(const Rango& r) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasTiempos, ", ") +
           Captadas(r, QStringLiteral(
                           " JOIN norv.dbo.detalles_Relaciones_Solicitudes d ON d.Solicitud = "
                           "s.solicitud JOIN norv.dbo.Relaciones_Solicitudes_credito r ON "
                           "r.relacion = d.Relacion")) +
           QStringLiteral(
               " GROUP BY r.verificador, DATEDIFF(day, s.Fecha_recepcion, "
               "r.fecha_entrega), DATEDIFF(day, r.fecha_entrega, d.fecha_verificacion)");
}

}  // namespace tablero
