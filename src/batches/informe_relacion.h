#pragma once
// The batch report drawn by the program itself, for offices without a report server: what the
// verifier takes to the field, one line per application, as a landscape letter PDF that reads
// the same printed in black and white.
#include <QDateTime>
#include <QList>
#include <QString>

#include "db/columnas.h"

namespace db {
class Conexion;
}

namespace informe {

struct LineaRelacion {
    QString solicitud;
    QString cliente;
    QString nombre;
    QString domicilio;
    QString telefono;
    QString aval;
    QString sucursal;
    QString vendedor;
    double importe = 0;
    QDateTime recepcion;
};

struct Relacion {
    QString numero;
    bool existe = false;
    QString centro;
    QString verificador;
    QDateTime entrega;
    QList<LineaRelacion> lineas;

    double total() const;
};

// The statements the report reads with, for batch `numero`; their items are read by their
// places.
enum class Cabecera { Relacion, Centro, Verificador, Entrega };
inline constexpr db::Columnas<Cabecera, 4> kColumnasRelacion = {{
    {Cabecera::Relacion, "r.relacion", nullptr},
    {Cabecera::Centro, "r.centro_distribucion", nullptr},
    {Cabecera::Verificador, "erp_oxa.dbo.nombre_persona(r.verificador)", nullptr},
    {Cabecera::Entrega, "r.fecha_entrega", nullptr},
}};
QString SentenciaRelacion(qint64 numero);

enum class Renglon {
    Solicitud,
    Cliente,
    Nombre,
    Domicilio,
    Telefono,
    NombreAval,
    ApellidosAval,
    Sucursal,
    Vendedor,
    Importe,
    Recepcion,
};
inline constexpr db::Columnas<Renglon, 11> kColumnasLineas = {{
    {Renglon::Solicitud, "s.solicitud", nullptr},
    {Renglon::Cliente, "s.Cliente", nullptr},
    {Renglon::Nombre, "erp_oxa.dbo.nombre_cliente(s.Cliente)", nullptr},
    {Renglon::Domicilio, "erp_oxa.dbo.Domicilio_Cliente(s.Cliente)", nullptr},
    {Renglon::Telefono, "s.telefono", nullptr},
    {Renglon::NombreAval, "s.Nombre_Aval", nullptr},
    {Renglon::ApellidosAval, "s.apellidos_Aval", nullptr},
    {Renglon::Sucursal, "erp_oxa.dbo.nombre_sucursal(s.Sucursal)", nullptr},
    {Renglon::Vendedor, "erp_oxa.dbo.nombre_persona(s.Vendedor)", nullptr},
    {Renglon::Importe, "s.Importe_Solicitud", nullptr},
    {Renglon::Recepcion, "s.Fecha_recepcion", nullptr},
}};
QString SentenciaLineas(qint64 numero);

// Reads the batch and its lines through the connection. Throws db::ErrorBD.
Relacion LeerRelacion(db::Conexion& conexion, qint64 numero);

// Amounts as the office writes them: "$12,345.50".
QString TextoImporte(double importe);

// Writes the PDF whole or not at all (a report saved before stays when this fails); the
// reason in `error`.
bool EscribirPdf(const Relacion& relacion, const QString& ruta, QString* error);

}  // namespace informe
