#include "reception/guardar_recepcion.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/error_bd.h"
#include "db/sql.h"
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

    QStringList sentencias;
    for (int fila = 1; fila <= filas; ++fila) {
        if (TextoCelda(rejilla.valor(fila, ColLineaCredito)).trimmed().isEmpty())
            rejilla.ponerValor(fila, ColLineaCredito, 0);
        if (!FilaMarcada(rejilla, fila)) continue;
        sentencias << SentenciaLinea(rejilla, fila) << SentenciaSolicitud(rejilla, fila);
    }

    // Every marked row lands, or none: a failure leaves the rows and their marks for another try.
    try {
        Global::Conexion.iniciarTransaccion();
        for (const QString& sentencia : sentencias) {
            Global::CadenaSql = sentencia;
            Global::Conexion.ejecutar(Global::CadenaSql);
        }
        Global::Conexion.confirmarTransaccion();
    } catch (const db::ErrorBD& e) {
        try {
            Global::Conexion.deshacerTransaccion();
        } catch (const db::ErrorBD&) {
            // The engine already dropped the transaction with the failure.
        }
        MensajeError(e.mensaje(), QStringLiteral("Error de Base de Datos"));
        return;
    }

    Global::CambiosPendientes = false;
    MensajeInformacion(QStringLiteral("Relaciones Modificadas Correctamente!"),
                       QStringLiteral("Modificar Relaciones"));
    rejilla.quitarFilas();
}
