#pragma once
// Every statement the reception window sends: the search of batch lines, taking an
// application out of its batch, and the two updates that record one edited line.
#include <QDate>
#include <QString>
#include <QVariant>

#include "db/columnas.h"

namespace recepcion {

// The search's select list. Read by the aliases; the branch and the verifier have none and
// are read by their places.
enum class Busqueda {
    Relacion,
    Solicitud,
    Sucursal,
    Verificador,
    FechaRecepcion,
    FechaVerificacion,
    Cliente,
    NombreCliente,
    Estado,
    Linea,
    Tipo,
    Comentarios,
    Recomienda,
};
inline constexpr db::Columnas<Busqueda, 13> kColumnasBusqueda = {{
    {Busqueda::Relacion, "d.relacion 'Relación'", "Relación"},
    {Busqueda::Solicitud, "s.solicitud 'Solicitud Cliente'", "Solicitud Cliente"},
    {Busqueda::Sucursal, "erp_oxa.dbo.nombre_sucursal(s.sucursal)", nullptr},
    {Busqueda::Verificador, "erp_oxa.dbo.nombre_persona (r.verificador)", nullptr},
    {Busqueda::FechaRecepcion, "s.fecha_recepcion 'Fecha Recepción'", "Fecha Recepción"},
    {Busqueda::FechaVerificacion, "d.fecha_verificacion 'Fecha Verificación'",
     "Fecha Verificación"},
    {Busqueda::Cliente, "s.cliente 'cliente'", "cliente"},
    {Busqueda::NombreCliente, "erp_oxa.dbo.nombre_cliente(s.cliente)'Nombre Cliente'",
     "Nombre Cliente"},
    {Busqueda::Estado, "d.estado_actual 'Estado Relación'", "Estado Relación"},
    {Busqueda::Linea, "d.Linea_autorizada 'Linea Autorizada'", "Linea Autorizada"},
    {Busqueda::Tipo, "d.tipo_Verificacion 'Tipo Verificación'", "Tipo Verificación"},
    {Busqueda::Comentarios, "d.comentarios 'Comentarios'", "Comentarios"},
    {Busqueda::Recomienda, "d.recomienda_verificador 'R.Verificador'", "R.Verificador"},
}};
// The lines of the batches handed to `verificador` (its 7-character key, matched with LIKE,
// every centre), or with an empty `verificador` to any verifier of `centro`, between `del`
// and the whole day after `al`.
QString SentenciaBusqueda(const QString& verificador, const QString& centro, const QDate& del,
                          const QDate& al);

// Out of the batch only while the line is still in that batch and "Entregada".
QString SentenciaQuitar(qint64 solicitud, qint64 relacion);
// Every line of the application goes, not only this batch's.
QString SentenciaBorrarLineas(qint64 solicitud);

// Decimals the credit line's column keeps (money-like, as decimal(12,4)).
constexpr int DecimalesLinea = 4;

// What a save writes on one batch line.
struct Resultado {
    qint64 relacion = 0;
    qint64 solicitud = 0;
    bool revisada = false;  // the line shows a revision date: it keeps it
    QString estado, tipo;
    double linea = 0;
    QString comentarios, recomienda;
};
// Stamps fecha_verificacion only on a line never recorded before.
QString SentenciaLinea(const Resultado& r);
// The application follows its line's state and comments.
QString SentenciaSolicitud(qint64 solicitud, const QString& estado, const QString& comentarios);

// A batch line as the search read it: what a save checks is still there, so that the edit
// of one clerk never overwrites, unseen, what another station recorded meanwhile.
struct LineaLeida {
    QVariant estado, tipo, linea, comentarios, recomendacion;
    bool revisada = false;  // fecha_verificacion was set
};
// " AND ..." conditions that hold only while the line is as it was read.
QString CondicionSinCambios(const LineaLeida& leida);

}  // namespace recepcion
