// The reception's save: the checks of each marked row, then every line and its application
// written in one transaction, each guarded against another station's change.
#include <QStringList>

#include "db/error_bd.h"
#include "db/sql.h"
#include "db/transaccion.h"
#include "reception/celdas_recepcion.h"
#include "reception/frm_recepcion.h"
#include "startup/global.h"
#include "ui/delegado_rejilla.h"
#include "ui/modelo_rejilla.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/valor_celda.h"
#include "ui/ventana.h"

using namespace recepcion;

namespace {

// "a, b o c"
QString Enumerar(const QStringList& entradas) {
    return entradas.mid(0, entradas.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" o ") +
           entradas.last();
}

}  // namespace

QString FrmRecepcion::RevisarFila(int fila, int* columna) {
    const Rejilla& r = *ISolicitudes;
    const QString solicitud = TextoExactoDeCelda(r.valor(fila, ColSolicitud)).trimmed();
    // A state, type or recommendation the lists do not offer (an empty type or recommendation
    // is written as '', an empty state never: the line would stay out of every list).
    auto deLista = [&](int c, const QString& titulo, const QStringList& entradas,
                       bool vacioSirve) -> QString {
        const QString valor = TextoExactoDeCelda(r.valor(fila, c));
        if (entradas.contains(valor) || (vacioSirve && valor.isEmpty())) return QString();
        *columna = c;
        if (valor.isEmpty())
            return QStringLiteral("La Solicitud %1 no tiene %2: elija %3.")
                .arg(solicitud, titulo, Enumerar(entradas));
        return QStringLiteral(
                   "La Solicitud %1 tiene \"%2\" en %3, que no es de la lista: elija %4%5.")
            .arg(solicitud, valor, titulo, Enumerar(entradas),
                 vacioSirve ? QStringLiteral(", o déjelo vacío") : QString());
    };
    QString error = deLista(ColEstado, QStringLiteral("Estado Actual"), Estados(), false);
    if (error.isEmpty())
        error = deLista(ColTipoVerificacion, QStringLiteral("Tipo Verificación"),
                        TiposVerificacion(), true);
    if (error.isEmpty())
        error = deLista(ColRecomendacion, QStringLiteral("R.Verificador"), Recomendaciones(), true);
    if (!error.isEmpty()) return error;
    // A credit line that is not a number would break its statement half-way through the save.
    const QString linea = TextoExactoDeCelda(r.valor(fila, ColLineaCredito)).trimmed();
    if (!linea.isEmpty() && !EsLineaCredito(linea)) {
        *columna = ColLineaCredito;
        return QStringLiteral("La Linea Crédito de la Solicitud ") + solicitud +
               QStringLiteral(" no es un número: ") + linea;
    }
    *columna = ColComentarios;
    return ComentarioDemasiadoLargo(r, fila, TextoExactoDeCelda(r.valor(fila, ColComentarios)));
}

void FrmRecepcion::CmdGuardar_Click() {
    if (!ISolicitudes->terminarEdicion()) return;
    Rejilla& rejilla = *ISolicitudes;
    const int filas = rejilla.numeroFilas();
    QList<int> marcadas;
    for (int fila = 1; fila <= filas; ++fila)
        if (FilaMarcada(rejilla, fila)) marcadas << fila;
    // Only a row changes makes a save worth its message.
    if (marcadas.isEmpty()) {
        MensajeInformacion(QStringLiteral("No hay cambios que guardar: no se ha editado ninguna "
                                          "línea desde la consulta."),
                           QStringLiteral("Recepcion Relación"));
        return;
    }
    if (!Preguntar(QStringLiteral("Esta Seguro de Guardar la Relación?"),
                   QStringLiteral("Recepcion Relación")))
        return;
    CursorEspera espera;

    // What a column would not take is refused before anything is written, on its cell.
    for (int fila : marcadas) {
        int columna = 0;
        const QString error = RevisarFila(fila, &columna);
        if (error.isEmpty()) continue;
        rejilla.ponerCeldaActual(fila, columna);
        MensajeError(error, QStringLiteral("Recepcion Relación"));
        return;
    }

    for (int fila = 1; fila <= filas; ++fila) {
        const QString linea = TextoExactoDeCelda(rejilla.valor(fila, ColLineaCredito)).trimmed();
        if (linea.isEmpty()) {
            rejilla.ponerValor(fila, ColLineaCredito, 0);
            continue;
        }
        if (!FilaMarcada(rejilla, fila)) continue;
        // Written as the column keeps them, as the grid then shows them.
        if (RedondearLinea(linea) != linea)
            rejilla.ponerValor(fila, ColLineaCredito, RedondearLinea(linea));
        const QString comentario = TextoExactoDeCelda(rejilla.valor(fila, ColComentarios));
        if (DelegadoRejilla::SinControles(comentario) != comentario)
            rejilla.ponerValor(fila, ColComentarios, DelegadoRejilla::SinControles(comentario));
    }

    // Line by line: a line another station removed or changed since the search is not
    // written (nor its application) and is reported; the others are saved. A failure of the
    // database saves nothing and leaves the rows and their marks for another try.
    QList<int> guardadas, cambiadas;
    try {
        db::Transaccion transaccion(Global::Conexion);
        for (int fila : marcadas) {
            const auto leida = Leidas().constFind(
                ClaveLinea(rejilla.valor(fila, ColRelacion), rejilla.valor(fila, ColSolicitud)));
            const Resultado resultado = ResultadoDeFila(rejilla, fila);
            Global::CadenaSql =
                SentenciaLinea(resultado) +
                (leida != Leidas().constEnd() ? CondicionSinCambios(*leida) : QString());
            if (Global::Conexion.ejecutar(Global::CadenaSql) != 1) {
                cambiadas << fila;
                continue;
            }
            Global::CadenaSql =
                SentenciaSolicitud(resultado.solicitud, resultado.estado, resultado.comentarios);
            Global::Conexion.ejecutar(Global::CadenaSql);
            guardadas << fila;
        }
        transaccion.confirmar();
    } catch (const db::ErrorBD& e) {
        MensajeErrorBD(e);
        return;
    }

    if (cambiadas.isEmpty()) {
        cambiosPendientes_ = false;
        MensajeInformacion(QStringLiteral("Relaciones Modificadas Correctamente!"),
                           QStringLiteral("Modificar Relaciones"));
        rejilla.quitarFilas();
        OlvidarLeidas();
        SeguirFilaActual();
        return;
    }
    // The saved rows leave the grid; the others stay, with what the clerk typed, to be seen
    // against what another station recorded once searched again.
    QStringList numeros;
    for (int fila : cambiadas)
        numeros << TextoExactoDeCelda(rejilla.valor(fila, ColSolicitud)).trimmed();
    for (int i = guardadas.size() - 1; i >= 0; --i) rejilla.quitarFila(guardadas[i]);
    SeguirFilaActual();
    MensajeError(QStringLiteral("Se guardaron %1 de %2 líneas. No se guardaron las solicitudes %3: "
                                "otra estación las cambió o las sacó de su relación después de la "
                                "consulta. Consulte de nuevo para ver cómo están ahora.")
                     .arg(guardadas.size())
                     .arg(marcadas.size())
                     .arg(numeros.join(QStringLiteral(", "))),
                 QStringLiteral("Modificar Relaciones"));
}
