#pragma once
// Every statement the capture subsystem sends: the capture window's lists and look-ups, the
// homonyms window's reads, the version check, and an application's insertion and deletion.
#include <QDate>
#include <QString>

#include "db/columnas.h"

namespace captura {

// The branch and promotion lists: the key and the name, read by their places.
enum class Catalogo { Clave, Nombre };
inline constexpr db::Columnas<Catalogo, 2> kColumnasSucursales = {{
    {Catalogo::Clave, "Sucursal", nullptr},
    {Catalogo::Nombre, "nombre_sucursal", nullptr},
}};
inline constexpr db::Columnas<Catalogo, 2> kColumnasPromociones = {{
    {Catalogo::Clave, "Promocion", nullptr},
    {Catalogo::Nombre, "Nombre_promocion", nullptr},
}};
QString SentenciaSucursales(const QString& centro);
QString SentenciaPromociones();

// The ticket's date, read by its place.
enum class Ticket { Fecha };
inline constexpr db::Columnas<Ticket, 1> kColumnasTicket = {{{Ticket::Fecha, "fecha", nullptr}}};
QString SentenciaTicket(qint64 documento);

// The chosen branch's key as sucursales stores it, read by its place.
enum class ClaveSucursal { Sucursal };
inline constexpr db::Columnas<ClaveSucursal, 1> kColumnasClaveSucursal = {
    {{ClaveSucursal::Sucursal, "sucursal", nullptr}}};
QString SentenciaClaveSucursal(qint64 sucursal);

// How many customers carry the name, read by its place.
enum class Homonimos { Cuenta };
inline constexpr db::Columnas<Homonimos, 1> kColumnasHomonimos = {
    {{Homonimos::Cuenta, "COUNT(cliente)", nullptr}}};
QString SentenciaHomonimos(const QString& nombreCompleto);

// The homonyms window's customers; the grid is filled from the result and titled by its names.
enum class Clientes { Cliente, Rfc, Nombre, Creditos, Domicilio };
inline constexpr db::Columnas<Clientes, 5> kColumnasClientes = {{
    {Clientes::Cliente, "cliente 'Cliente'", "Cliente"},
    {Clientes::Rfc, "RFC 'RFC'", "RFC"},
    {Clientes::Nombre, "nombre_cliente'Nombre Cliente'", "Nombre Cliente"},
    {Clientes::Creditos, "NORV.dbo.cliente_credito(cliente) 'Créditos'", "Créditos"},
    {Clientes::Domicilio, "ERP_OXA.dbo.Domicilio_Cliente ( cliente)'Domicilio'", "Domicilio"},
}};
QString SentenciaClientes(const QString& nombreCompleto);
// Every application of the customer with its batch lines, for the grid only.
QString SentenciaVerificaciones(double cliente);

// The published version and its two switches, read by their places.
enum class Publicada { Version, Cierra, EnviaCorreo };
inline constexpr db::Columnas<Publicada, 3> kColumnasVersion = {{
    {Publicada::Version, "Version", nullptr},
    {Publicada::Cierra, "cierra", nullptr},
    {Publicada::EnviaCorreo, "envia_Email", nullptr},
}};
QString SentenciaVersion();

// Decimals the amount's column keeps (money-like, as decimal(12,4)).
constexpr int DecimalesImporte = 4;

struct AltaSolicitud {
    bool clienteNuevo = true;
    double cliente = 0;
    double importe = 0;
    QString sucursal;  // ClaveSucursal, all 7 characters
    qint64 promocion = 0;
    QString telefono;
    QString nombreAval, apellidosAval;
    qint64 documento = 0;
    QDate fechaTienda;
    QString vendedor;  // ClavePersona, all 7 characters
};
QString SentenciaAlta(const AltaSolicitud& a);

// Deletes the application only while it is in no batch: one another station put in a batch
// keeps its line pointing at it.
QString SentenciaBorrar(qint64 solicitud);
// Whether the application is there: asked after a commit whose link dropped.
QString SentenciaExisteSolicitud(qint64 solicitud);

}  // namespace captura
