#pragma once
// What the reception grid puts into its statements: the texts of its cells, the checks on
// what a save would write, and the values of one edited batch line.
#include <QString>
#include <QStringList>
#include <QVariant>

#include "reception/sentencias_recepcion.h"

class Rejilla;

namespace recepcion {

// Grid columns the window and its save rely on.
enum Columna {
    ColRelacion = 1,
    ColSolicitud = 2,
    ColSucursal = 3,
    ColVerificador = 4,
    ColFechaEnvio = 5,
    ColFechaRevision = 6,
    ColCliente = 7,
    ColNombreCliente = 8,
    ColEstado = 9,
    ColLineaCredito = 10,
    ColTipoVerificacion = 11,
    ColComentarios = 12,
    ColGuardar = 13,
    ColRecomendacion = 14,
};

// The key of a line in the window's record of what was read: "relación/solicitud".
QString ClaveLinea(const QVariant& relacion, const QVariant& solicitud);

// A whole or decimal number written with digits and at most one point.
bool EsLineaCredito(const QString& texto);

// A credit line with at most DecimalesLinea decimals, rounded half away from zero as the
// server rounds what it stores; a text that is no number comes back as it was.
QString RedondearLinea(const QString& texto);

// Width of the comments of a line and of its application.
constexpr int LargoComentarios = 500;
// Characters a comment takes in its column: code points, trailing blanks not counted.
int LargoComentario(const QString& texto);
// The message for a comment of the row over LargoComentarios, naming its application; empty
// when it fits.
QString ComentarioDemasiadoLargo(const Rejilla& rejilla, int fila, const QString& texto);

// The entries of the lists of the grid ("Estado", "Tipos", "Verificador").
const QStringList& Estados();
const QStringList& TiposVerificacion();
const QStringList& Recomendaciones();

// Whether the row was marked "SI" by an edit since the search.
bool FilaMarcada(const Rejilla& rejilla, int fila);

// What the save writes for the row: the line keeps its revision date when the row shows one.
// Throws db::ErrorBD when the batch, the application or the credit line is not a number.
Resultado ResultadoDeFila(const Rejilla& rejilla, int fila);

}  // namespace recepcion
