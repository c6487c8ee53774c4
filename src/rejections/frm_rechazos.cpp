#include "rejections/frm_rechazos.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "db/error_bd.h"
#include "db/solicitud_actual.h"
#include "db/sql.h"
#include "rejections/frm_comentarios.h"
#include "rejections/sentencias_rechazos.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/ventana.h"

FrmRechazos::FrmRechazos(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmRechazos", QStringLiteral("Rechazo de Solicitudes sin Relación"));
    CursorEspera espera;

    Frame1 =
        Marco(this, "Frame1", QStringLiteral("Busqueda Solicitudes:"), RectTwips(0, 0, 9615, 4095));

    // Right-aligned and grown to the left, so the caption fits whatever the font.
    SkinLabel1 = Etiqueta(Frame1, "SkinLabel1", QStringLiteral("Solicitudes del"),
                          RectTwips(2400, 300, 2295, 255));
    SkinLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    DtpFecha1 = Control<SelectorFecha>(Frame1, "DtpFecha1", RectTwips(4800, 240, 1455, 375));
    SkinLabel1->setBuddy(DtpFecha1);

    SkinLabel2 =
        Etiqueta(Frame1, "SkinLabel2", QStringLiteral("al"), RectTwips(6360, 300, 255, 255));

    // As wide as the first one, so the whole date shows.
    DtpFecha2 = Control<SelectorFecha>(Frame1, "DtpFecha2", RectTwips(6600, 240, 1455, 375));
    SkinLabel2->setBuddy(DtpFecha2);

    CmdConsultar = Boton(Frame1, "CmdConsultar", QStringLiteral("&Consultar"),
                         RectTwips(8280, 240, 1215, 375));

    iSolicitudes = Control<Rejilla>(Frame1, "iSolicitudes", RectTwips(120, 840, 9375, 3135));
    iSolicitudes->soloLectura(true);
    iSolicitudes->ponerEnterComoDobleClic(true);
    iSolicitudes->ponerNombreLista(QStringLiteral("Sin Relación"));

    setTabOrder(DtpFecha1, DtpFecha2);
    setTabOrder(DtpFecha2, CmdConsultar);
    setTabOrder(CmdConsultar, iSolicitudes);

    connect(CmdConsultar, &QPushButton::clicked, this, &FrmRechazos::ConsultarSolicitudes);
    connect(iSolicitudes, &Rejilla::dobleClic, this, &FrmRechazos::iSolicitudes_DobleClic);

    const QDate hoy = QDate::currentDate();
    DtpFecha1->ponerFecha(hoy.addDays(-2));
    DtpFecha2->ponerFecha(hoy);
    PrepararVentana(this, 9660, 4140);
    DtpFecha1->setFocus();
}

void FrmRechazos::ConsultarSolicitudes() {
    using Global::CadenaSql;
    db::Recordset& registros = Global::Registros2;
    CursorEspera espera;
    CadenaSql = rechazos::SentenciaSolicitudes(Global::CentroDistribucion, DtpFecha1->fecha(),
                                               DtpFecha2->fecha());
    try {
        // Opened before the grid is touched: a failed search leaves the last list in place.
        CargarLista(iSolicitudes, [&] {
            registros.abrir(CadenaSql, Global::Conexion);
            iSolicitudes->soloLectura(true);
            iSolicitudes->llenar(registros);
        });
        using rechazos::Lista;
        columnaSolicitud_ = iSolicitudes->buscarColumna(
            db::Alias(rechazos::kColumnasSolicitudes, Lista::Solicitud));
        columnaEstado_ =
            iSolicitudes->buscarColumna(db::Alias(rechazos::kColumnasSolicitudes, Lista::Estado));
        for (int c = 1; c <= 5 && c <= iSolicitudes->numeroColumnas(); ++c)
            iSolicitudes->ajustarAncho(c);
        iSolicitudes->ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
        Frame1->setTitle(QStringLiteral("Solicitudes Localizadas:") +
                         QString::number(iSolicitudes->numeroFilas()));
        registros.cerrar();
    } catch (const db::ErrorBD& e) {
        registros.cerrar();
        MensajeErrorBD(e);
    }
}

void FrmRechazos::iSolicitudes_DobleClic(int fila, int) {
    if (fila < 1 || fila > iSolicitudes->numeroFilas()) return;
    if (!Preguntar(QStringLiteral(
                       "Se dispone a Rechazar/Reactivar la Solicitud Seleccionada, Esta Seguro?"),
                   QStringLiteral("Rechazar Solicitud"), true))
        return;
    const QVariant estado = iSolicitudes->valor(fila, columnaEstado_);
    qint64 solicitud = 0;
    try {
        solicitud = db::EnteroDe(iSolicitudes->valor(fila, columnaSolicitud_));
    } catch (const db::ErrorBD&) {
        // A row without an application number would make a statement that touches nothing.
        return;
    }
    if (estado.toString().trimmed() == QLatin1String("Recibida"))
        Rechazar(fila, solicitud);
    else
        Reactivar(fila, solicitud, estado);
}

void FrmRechazos::Rechazar(int fila, qint64 solicitud) {
    {
        FrmComentarios comentarios(this);
        // A rejection that failed or was cancelled keeps what the clerk typed for the next try.
        if (comentarioPendiente_.first == solicitud) {
            comentarios.TxtComentarios->setPlainText(comentarioPendiente_.second);
            comentarios.TxtComentarios->moveCursor(QTextCursor::End);
        }
        // Escape or the close box is not a comment: nothing is rejected.
        if (Servicios().mostrarModal(comentarios) != QDialog::Accepted) {
            comentarioPendiente_ = qMakePair(solicitud, comentarios.TxtComentarios->toPlainText());
            return;
        }
    }
    const Escritura hecha =
        Escribir(rechazos::SentenciaRechazar(solicitud, Global::ComentarioRechazo), solicitud);
    // Kept only while the application can still be rejected with it.
    comentarioPendiente_ = hecha == Escritura::Fallida
                               ? qMakePair(solicitud, Global::ComentarioRechazo)
                               : QPair<qint64, QString>(0, QString());
    if (hecha != Escritura::Hecha) return;
    iSolicitudes->quitarFila(fila);
    MensajeInformacion(QStringLiteral("Solicitud Rechazada Correctamente!"),
                       QStringLiteral("Rechazar Solicitud"));
}

void FrmRechazos::Reactivar(int fila, qint64 solicitud, const QVariant& estado) {
    if (Escribir(rechazos::SentenciaReactivar(solicitud, estado), solicitud) != Escritura::Hecha)
        return;
    MensajeInformacion(QStringLiteral("Solicitud Reactivada Correctamente!"),
                       QStringLiteral("Reactivar Solicitud"));
    iSolicitudes->ponerValor(fila, columnaEstado_, QStringLiteral("Recibida"));
}

FrmRechazos::Escritura FrmRechazos::Escribir(const QString& sql, qint64 solicitud) {
    try {
        if (Global::Conexion.ejecutar(sql) == 1) return Escritura::Hecha;
    } catch (const db::ErrorBD& e) {
        MensajeErrorBD(e);
        return Escritura::Fallida;
    }
    // Another station got there first: say where the application is now, and list again.
    const long long numero = solicitud;
    QString donde = QStringLiteral("Solicitud %1").arg(numero);
    try {
        donde = db::DescribirSolicitud(numero, db::LeerSolicitudActual(Global::Conexion, numero));
    } catch (const db::ErrorBD&) {
        // The list searched again below shows it as well.
    }
    MensajeError(donde + QStringLiteral(".\nOtra estación la cambió después de la búsqueda; no "
                                        "se cambió nada y la lista se buscó de nuevo."),
                 QStringLiteral("Rechazar Solicitud"));
    ConsultarSolicitudes();
    return Escritura::Cambiada;
}
