#pragma once
// The batch report drawn by the program itself, for offices without a report server: what the
// verifier takes to the field, one line per application, as a landscape letter PDF that reads
// the same printed in black and white.
#include <QDateTime>
#include <QList>
#include <QString>

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

// The statements the report reads with, for batch `numero` (digits only).
QString SentenciaRelacion(const QString& numero);
QString SentenciaLineas(const QString& numero);

// Reads the batch and its lines through the connection. Throws db::ErrorBD.
Relacion LeerRelacion(db::Conexion& conexion, const QString& numero);

// Amounts as the office writes them: "$12,345.50".
QString TextoImporte(double importe);

// Writes the PDF whole or not at all (a report saved before stays when this fails); the
// reason in `error`.
bool EscribirPdf(const Relacion& relacion, const QString& ruta, QString* error);

}  // namespace informe
