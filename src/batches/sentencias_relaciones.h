#pragma once
// Every statement the batch window sends: the pending applications, a new batch with its
// lines, and the list of batches delivered between two dates.
#include <QDate>
#include <QString>

#include "db/columnas.h"

namespace relaciones {

// The pending applications, read by their places.
enum class Pendiente { Solicitud, Sucursal, Fecha, Cliente };
inline constexpr db::Columnas<Pendiente, 4> kColumnasPendientes = {{
    {Pendiente::Solicitud, "s.solicitud", nullptr},
    {Pendiente::Sucursal, "su.nombre_sucursal", nullptr},
    {Pendiente::Fecha, "ERP_OXA.dbo.fecha_corta(s.fecha_recepcion)", nullptr},
    {Pendiente::Cliente, "erp_oxa.dbo.nombre_cliente(cliente)", nullptr},
}};
// No batch, not rejected, a branch of the centre.
QString SentenciaPendientes(const QString& centro);

// The batch's header: `clave` is the verifier's 7-character key, also its maker's.
QString SentenciaAlta(const QString& centro, const QString& clave);
QString SentenciaLinea(qint64 relacion, qint64 solicitud);
// Attaches the application only while it is still pending as the list showed it: of two
// stations saving the same application, only one changes its row.
QString SentenciaAsignar(qint64 relacion, qint64 solicitud);
// Whether the batch is there: asked after a commit whose link dropped.
QString SentenciaExisteRelacion(qint64 relacion);

// The batches delivered between `del` and `al`; the grid is filled from the result and titled
// by its names.
enum class Lista { Relacion, Entrega, Recepcion, Verificador, Estado };
inline constexpr db::Columnas<Lista, 5> kColumnasRelaciones = {{
    {Lista::Relacion, "r.relacion 'Relación'", "Relación"},
    {Lista::Entrega, "fecha_entrega 'Entrega'", "Entrega"},
    {Lista::Recepcion, "r.fecha_recepcion_real 'Recepción'", "Recepción"},
    {Lista::Verificador, "erp_oxa.dbo.nombre_persona (verificador) 'Verificador'", "Verificador"},
    {Lista::Estado, "r.estado_actual 'Estado Relación'", "Estado Relación"},
}};
QString SentenciaRelaciones(const QString& centro, const QDate& del, const QDate& al);

}  // namespace relaciones
