#pragma once
// Every statement the office dashboard sends: plain SELECTs grouped on the server, over the
// applications captured in the centre's branches between two dates, so that a year of them
// comes back as a few hundred rows.
#include <QDate>
#include <QString>

#include "db/columnas.h"

namespace tablero {

// The centre and the days (both whole) every figure refers to.
struct Rango {
    QString centro;
    QDate del, al;
};

// How many applications each branch and salesperson has in each state.
enum class Estado { Sucursal, Vendedor, NombreVendedor, Estado, Cuenta };
inline constexpr db::Columnas<Estado, 5> kColumnasEstados = {{
    {Estado::Sucursal, "dbo.alltrim(su.nombre_sucursal) 'Sucursal'", "Sucursal"},
    {Estado::Vendedor, "s.Vendedor 'Vendedor'", "Vendedor"},
    {Estado::NombreVendedor, "dbo.alltrim(erp_oxa.dbo.nombre_persona(s.Vendedor)) 'Nombre'",
     "Nombre"},
    {Estado::Estado, "s.estado_actual 'Estado'", "Estado"},
    {Estado::Cuenta, "COUNT(*) 'Solicitudes'", "Solicitudes"},
}};
QString SentenciaEstados(const Rango& r);

// Per day of the range (0 is its first day): the applications captured, and the batches
// handed to a verifier. Each statement counts its own days, so only the names are shared.
enum class Dia { Dia, Cuenta };
inline constexpr db::Columnas<Dia, 2> kColumnasDias = {{
    {Dia::Dia, "", "Dia"},
    {Dia::Cuenta, "COUNT(*) 'Cuenta'", "Cuenta"},
}};
QString SentenciaCapturadas(const Rango& r);
QString SentenciaRelaciones(const Rango& r);

// The applications still waiting for a batch, by how many days they have waited (as Dia).
QString SentenciaPendientes(const Rango& r);

// The list of those that have waited from `desde` to `hasta` days (`hasta` < 0: no limit),
// the oldest first; the grid is filled from the result and titled by its names.
enum class Pendiente { Solicitud, Sucursal, Fecha, Dias, Cliente, Vendedor };
inline constexpr db::Columnas<Pendiente, 6> kColumnasPendientes = {{
    {Pendiente::Solicitud, "s.solicitud 'Solicitud'", "Solicitud"},
    {Pendiente::Sucursal, "dbo.alltrim(su.nombre_sucursal) 'Sucursal'", "Sucursal"},
    {Pendiente::Fecha, "ERP_OXA.dbo.fecha_corta(s.Fecha_recepcion) 'Fecha Recepción'",
     "Fecha Recepción"},
    {Pendiente::Dias, "DATEDIFF(day, s.Fecha_recepcion, GETDATE()) 'Días'", "Días"},
    {Pendiente::Cliente, "dbo.alltrim(erp_oxa.dbo.nombre_cliente(s.Cliente)) 'Nombre Cliente'",
     "Nombre Cliente"},
    {Pendiente::Vendedor, "dbo.alltrim(erp_oxa.dbo.nombre_persona(s.Vendedor)) 'Vendedor'",
     "Vendedor"},
}};
QString SentenciaListaPendientes(const Rango& r, int desde, int hasta);

// Per verifier, the days from capture to the batch's delivery and from delivery to the result
// (NULL while there is none), with how many applications took each.
enum class Tiempo { Verificador, Nombre, Entrega, Resultado, Cuenta };
inline constexpr db::Columnas<Tiempo, 5> kColumnasTiempos = {{
    {Tiempo::Verificador, "r.verificador 'Verificador'", "Verificador"},
    {Tiempo::Nombre, "dbo.alltrim(erp_oxa.dbo.nombre_persona(r.verificador)) 'Nombre'", "Nombre"},
    {Tiempo::Entrega, "DATEDIFF(day, s.Fecha_recepcion, r.fecha_entrega) 'Entrega'", "Entrega"},
    {Tiempo::Resultado, "DATEDIFF(day, r.fecha_entrega, d.fecha_verificacion) 'Resultado'",
     "Resultado"},
    {Tiempo::Cuenta, "COUNT(*) 'Solicitudes'", "Solicitudes"},
}};
QString SentenciaTiempos(const Rango& r);

}  // namespace tablero
