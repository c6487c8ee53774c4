#include "reception/guardar_recepcion.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/error_bd.h"
#include "db/sql.h"
#include "db/transaccion.h"
#include "reception/frm_recepcion.h"
#include "startup/global.h"
#include "ui/modelo_rejilla.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace recepcion {

QString TextoCelda(const QVariant& valor) {
    if (valor.isNull()) return QString();
    if (valor.typeId() == QMetaType::Double || valor.typeId() == QMetaType::Float) {
        QString texto = QString::number(valor.toDouble(), 'f', 6);
        while (texto.endsWith(QLatin1Char('0'))) texto.chop(1);
        if (texto.endsWith(QLatin1Char('.'))) texto.chop(1);
        return texto == QLatin1String("-0") ? QStringLiteral("0") : texto;
    }
    return ModeloRejilla::TextoDeValor(valor);
}

bool EsLineaCredito(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    return numero.match(texto).hasMatch();
}

bool FilaMarcada(const Rejilla& rejilla, int fila) {
    return TextoCelda(rejilla.valor(fila, ColGuardar)) == QLatin1String("SI");
}

namespace {

QString Texto(const Rejilla& r, int fila, int columna) {
    return db::EscaparComillas(TextoCelda(r.valor(fila, columna)));
}

QString Numero(const Rejilla& r, int fila, int columna) {
    return TextoCelda(r.valor(fila, columna)).trimmed();
}

}  // namespace

QString ClaveLinea(const QVariant& relacion, const QVariant& solicitud) {
    return TextoCelda(relacion).trimmed() + QLatin1Char('/') + TextoCelda(solicitud).trimmed();
}

QString CondicionSinCambios(const LineaLeida& l) {
    auto igual = [](const char* columna, const QVariant& valor, bool numero) {
        const QString c = QLatin1String(columna);
        if (valor.isNull()) return QStringLiteral(" AND ") + c + QStringLiteral(" IS NULL");
        return QStringLiteral(" AND ") + c + QLatin1Char('=') +
               (numero ? TextoCelda(valor)
                       : QLatin1Char('\'') + db::EscaparComillas(valor.toString()) + QLatin1Char('\''));
    };
    return igual("estado_Actual", l.estado, false) + igual("Tipo_Verificacion", l.tipo, false) +
           igual("Linea_Autorizada", l.linea, true) + igual("comentarios", l.comentarios, false) +
           igual("recomienda_verificador", l.recomendacion, false) +
           (l.revisada ? QStringLiteral(" AND fecha_verificacion IS NOT NULL")
                       : QStringLiteral(" AND fecha_verificacion IS NULL"));
}

QString SentenciaLinea(const Rejilla& r, int fila) {
    const bool sinRevision = TextoCelda(r.valor(fila, ColFechaRevision)).isEmpty();
    const QString inicio =
        sinRevision
            ? QStringLiteral(
                  "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET "
                  "fecha_verificacion = GETDATE(),estado_Actual='")
            : QStringLiteral("UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual='");
    return inicio + Texto(r, fila, ColEstado) + QStringLiteral("',Tipo_Verificacion='") +
           Texto(r, fila, ColTipoVerificacion) + QStringLiteral("',Linea_Autorizada=") +
           Numero(r, fila, ColLineaCredito) + QStringLiteral(", comentarios='") +
           Texto(r, fila, ColComentarios) + QStringLiteral("',recomienda_verificador='") +
           Texto(r, fila, ColRecomendacion) + QStringLiteral("' WHERE relacion=") +
           Numero(r, fila, ColRelacion) + QStringLiteral(" and solicitud = ") +
           Numero(r, fila, ColSolicitud) + QStringLiteral(" ");
}

QString SentenciaSolicitud(const Rejilla& r, int fila) {
    return QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='") +
           Texto(r, fila, ColEstado) + QStringLiteral("', comentarios='") +
           Texto(r, fila, ColComentarios) + QStringLiteral("' WHERE solicitud = ") +
           Numero(r, fila, ColSolicitud) + QStringLiteral(" ");
}

}  // namespace recepcion

using namespace recepcion;

void FrmRecepcion::CmdGuardar_Click() {
    ISolicitudes->terminarEdicion();
    if (!Preguntar(QStringLiteral("Esta Seguro de Guardar la Relación?"),
                   QStringLiteral("Recepcion Relación")))
        return;
    CursorEspera espera;
    Rejilla& rejilla = *ISolicitudes;
    const int filas = rejilla.numeroFilas();

    // A credit line that is not a number would break its statement half-way through the save:
    // it is refused before anything is written.
    for (int fila = 1; fila <= filas; ++fila) {
        if (!FilaMarcada(rejilla, fila)) continue;
        const QString linea = TextoCelda(rejilla.valor(fila, ColLineaCredito)).trimmed();
        if (linea.isEmpty() || EsLineaCredito(linea)) continue;
        rejilla.ponerCeldaActual(fila, ColLineaCredito);
        MensajeError(QStringLiteral("La Linea Crédito de la Solicitud ") +
                         TextoCelda(rejilla.valor(fila, ColSolicitud)) +
                         QStringLiteral(" no es un número: ") + linea,
                     QStringLiteral("Recepcion Relación"));
        return;
    }

    QList<int> marcadas;
    for (int fila = 1; fila <= filas; ++fila) {
        if (TextoCelda(rejilla.valor(fila, ColLineaCredito)).trimmed().isEmpty())
            rejilla.ponerValor(fila, ColLineaCredito, 0);
        if (FilaMarcada(rejilla, fila)) marcadas << fila;
    }

    // Line by line: a line another station removed or changed since the search is not
    // written (nor its application) and is reported; the others are saved. A failure of the
    // database saves nothing and leaves the rows and their marks for another try.
    QList<int> guardadas, cambiadas;
    try {
        db::Transaccion transaccion(Global::Conexion);
        for (int fila : marcadas) {
            const auto leida =
                leidas_.constFind(ClaveLinea(rejilla.valor(fila, ColRelacion), rejilla.valor(fila, ColSolicitud)));
            Global::CadenaSql = SentenciaLinea(rejilla, fila) +
                                (leida != leidas_.constEnd() ? CondicionSinCambios(*leida) : QString());
            if (Global::Conexion.ejecutar(Global::CadenaSql) != 1) {
                cambiadas << fila;
                continue;
            }
            Global::CadenaSql = SentenciaSolicitud(rejilla, fila);
            Global::Conexion.ejecutar(Global::CadenaSql);
            guardadas << fila;
        }
        transaccion.confirmar();
    } catch (const db::ErrorBD& e) {
        MensajeError(e.mensaje(), QStringLiteral("Error de Base de Datos"));
        return;
    }

    if (cambiadas.isEmpty()) {
        Global::CambiosPendientes = false;
        MensajeInformacion(QStringLiteral("Relaciones Modificadas Correctamente!"),
                           QStringLiteral("Modificar Relaciones"));
        rejilla.quitarFilas();
        leidas_.clear();
        filaActual_ = 0;
        return;
    }
    // The saved rows leave the grid; the others stay, with what the clerk typed, to be seen
    // against what another station recorded once searched again.
    QStringList numeros;
    for (int fila : cambiadas) numeros << TextoCelda(rejilla.valor(fila, ColSolicitud)).trimmed();
    for (int i = guardadas.size() - 1; i >= 0; --i) rejilla.quitarFila(guardadas[i]);
    filaActual_ = rejilla.filaActual();
    MensajeError(QStringLiteral("Se guardaron %1 de %2 líneas. No se guardaron las solicitudes %3: "
                                "otra estación las cambió o las sacó de su relación después de la "
                                "consulta. Consulte de nuevo para ver cómo están ahora.")
                     .arg(guardadas.size())
                     .arg(marcadas.size())
                     .arg(numeros.join(QStringLiteral(", "))),
                 QStringLiteral("Modificar Relaciones"));
}
