#pragma once
// What the reception grid puts into its statements: the texts of its cells and the two
// updates that record one edited batch line.
#include <QString>
#include <QStringList>
#include <QVariant>

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

// A cell as text: numbers in plain decimals (no exponent, no trailing zeros), dates as the
// grid shows them, an empty cell as nothing.
QString TextoCelda(const QVariant& valor);

// A batch line as the search read it: what a save checks is still there, so that the edit
// of one clerk never overwrites, unseen, what another station recorded meanwhile.
struct LineaLeida {
    QVariant estado, tipo, linea, comentarios, recomendacion;
    bool revisada = false;  // fecha_verificacion was set
};

// The key of a line in the window's record of what was read: "relación/solicitud".
QString ClaveLinea(const QVariant& relacion, const QVariant& solicitud);

// " AND ..." conditions that hold only while the line is as it was read.
QString CondicionSinCambios(const LineaLeida& leida);

// A whole or decimal number written with digits and at most one point.
bool EsLineaCredito(const QString& texto);

// Decimals the credit line's column keeps (money-like, as decimal(12,4)).
constexpr int DecimalesLinea = 4;
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

// The batch line's update: stamps fecha_verificacion only when the line shows no revision
// date yet, so a later save keeps the date of the first one.
QString SentenciaLinea(const Rejilla& rejilla, int fila);
// The application follows its line's state and comments.
QString SentenciaSolicitud(const Rejilla& rejilla, int fila);

}  // namespace recepcion
