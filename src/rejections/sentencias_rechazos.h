#pragma once
// Every statement the rejections window sends: the applications in no batch received between
// two dates, and their rejection or reactivation.
#include <QDate>
#include <QString>
#include <QVariant>

#include "db/columnas.h"

namespace rechazos {

// The grid is filled from the result and titled by its names; the window reads the number and
// the state back from the grid by those names.
enum class Lista { Solicitud, Sucursal, Fecha, Cliente, Estado };
inline constexpr db::Columnas<Lista, 5> kColumnasSolicitudes = {{
    {Lista::Solicitud, "s.solicitud 'Solicitud'", "Solicitud"},
    {Lista::Sucursal, "dbo.alltrim(su.nombre_sucursal) 'Sucursal'", "Sucursal"},
    {Lista::Fecha, "ERP_OXA.dbo.fecha_corta(s.fecha_recepcion)'Fecha Recepción'",
     "Fecha Recepción"},
    {Lista::Cliente, "dbo.alltrim(erp_oxa.dbo.nombre_cliente(cliente)) 'Nombre Cliente'",
     "Nombre Cliente"},
    {Lista::Estado, "s.estado_actual 'Estado Solicitud'", "Estado Solicitud"},
}};
// Received between `del` and the whole day after `al`.
QString SentenciaSolicitudes(const QString& centro, const QDate& del, const QDate& al);

// Both change the application only while it is still as the list showed it: in no batch and
// in the state `estado` it was listed with (NULL included).
QString SentenciaRechazar(qint64 solicitud, const QString& comentario);
QString SentenciaReactivar(qint64 solicitud, const QVariant& estado);

}  // namespace rechazos
