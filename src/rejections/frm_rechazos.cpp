#include "rejections/frm_rechazos.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <cmath>

#include "db/error_bd.h"
#include "db/solicitud_actual.h"
#include "db/sql.h"
#include "rejections/frm_comentarios.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

const QString TituloError = QStringLiteral("Error de Base de Datos");

// The application number as it goes bare into a statement: digits only, empty when the cell
// holds no number.
QString NumeroDeCelda(const QVariant& celda) {
    bool ok = false;
    const double n = celda.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n)) return QString();
    return QString::number(static_cast<qlonglong>(std::llround(n)));
}

}  // namespace

FrmRechazos::FrmRechazos(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmRechazos"));
    setWindowTitle(QStringLiteral("Rechazo de Solicitudes sin Relación"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CursorEspera espera;

    Frame1 = Control<QGroupBox>(this, "Frame1", RectTwips(0, 0, 9615, 4095),
                                QStringLiteral("Busqueda Solicitudes:"));

    SkinLabel1 = new QLabel(QStringLiteral("Solicitudes del"), Frame1);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    // Right-aligned and grown to the left, so the caption fits whatever the font.
    SkinLabel1->setGeometry(RectTwips(2400, 300, 2295, 255));
    SkinLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    DtpFecha1 = Control<SelectorFecha>(Frame1, "DtpFecha1", RectTwips(4800, 240, 1455, 375));
    SkinLabel1->setBuddy(DtpFecha1);

    SkinLabel2 =
        Control<QLabel>(Frame1, "SkinLabel2", RectTwips(6360, 300, 255, 255), QStringLiteral("al"));

    DtpFecha2 = new SelectorFecha(Frame1);
    DtpFecha2->setObjectName(QStringLiteral("DtpFecha2"));
    // As wide as the first one, so the whole date shows.
    DtpFecha2->setGeometry(RectTwips(6600, 240, 1455, 375));
    SkinLabel2->setBuddy(DtpFecha2);

    CmdConsultar = Control<QPushButton>(Frame1, "CmdConsultar", RectTwips(8280, 240, 1215, 375),
                                        QStringLiteral("&Consultar"));

    iSolicitudes = Control<Rejilla>(Frame1, "iSolicitudes", RectTwips(120, 840, 9375, 3135));
    iSolicitudes->soloLectura(true);
    iSolicitudes->ponerEnterComoDobleClic(true);

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
    CadenaSql =
        QStringLiteral(
            " SELECT s.solicitud 'Solicitud',dbo.alltrim(su.nombre_sucursal) "
            "'Sucursal',ERP_OXA.dbo.fecha_corta(s.fecha_recepcion)'Fecha Recepción',"
            "dbo.alltrim(erp_oxa.dbo.nombre_cliente(cliente)) 'Nombre Cliente',"
            "s.estado_actual 'Estado Solicitud' from NORV.dbo.Solicitudes_cliente_Nuevo s  ") +
        QStringLiteral("  JOIN  sucursales su on s.sucursal= su.sucursal  ") +
        QStringLiteral("  WHERE su.centro_distribucion='") +
        db::EscaparComillas(Global::CentroDistribucion) + QStringLiteral("'  ") +
        QStringLiteral("  AND   relacion IS NULL  ") +
        QStringLiteral("  AND  Fecha_recepcion BETWEEN  erp_oxa.dbo.fecha('") +
        DtpFecha1->fecha().toString(QStringLiteral("yyyyMMdd")) +
        QStringLiteral("','Inicio') and erp_oxa.dbo.fecha('") +
        // The whole day after the one shown is taken in as well.
        DtpFecha2->fecha().addDays(1).toString(QStringLiteral("yyyyMMdd")) +
        QStringLiteral("','Final')  order by solicitud");
    try {
        // Opened before the grid is touched: a failed search leaves the last list in place.
        registros.abrir(CadenaSql, Global::Conexion);
        iSolicitudes->quitarFilas();
        iSolicitudes->soloLectura(true);
        iSolicitudes->quitarFilasYColumnas();
        iSolicitudes->llenar(registros);
        for (int c = 1; c <= 5 && c <= iSolicitudes->numeroColumnas(); ++c)
            iSolicitudes->ajustarAncho(c);
        iSolicitudes->ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
        Frame1->setTitle(QStringLiteral("Solicitudes Localizadas:") +
                         QString::number(iSolicitudes->numeroFilas()));
        registros.cerrar();
    } catch (const db::ErrorBD& e) {
        registros.cerrar();
        MensajeError(e.mensaje(), TituloError);
    }
}

void FrmRechazos::iSolicitudes_DobleClic(int fila, int) {
    if (fila < 1 || fila > iSolicitudes->numeroFilas()) return;
    if (!Preguntar(QStringLiteral(
                       "Se dispone a Rechazar/Reactivar la Solicitud Seleccionada, Esta Seguro?"),
                   QStringLiteral("Rechazar Solicitud"), true))
        return;
    const QVariant estado = iSolicitudes->valor(fila, 5);
    const QString solicitud = NumeroDeCelda(iSolicitudes->valor(fila, 1));
    // A row without an application number would make a statement that touches nothing.
    if (solicitud.isEmpty()) return;
    if (estado.toString().trimmed() == QLatin1String("Recibida"))
        Rechazar(fila, solicitud);
    else
        Reactivar(fila, solicitud, estado);
}

// The application must still be as the list showed it: in no batch and in the state listed.
QString FrmRechazos::ComoSeListo(const QVariant& estado) {
    return QStringLiteral(" AND relacion IS NULL AND ") +
           (estado.isNull() ? QStringLiteral("estado_actual IS NULL")
                            : QStringLiteral("estado_actual='") +
                                  db::EscaparComillas(estado.toString()) + QLatin1Char('\''));
}

void FrmRechazos::Rechazar(int fila, const QString& solicitud) {
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
    const QString sql =
        QStringLiteral(
            "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',"
            "comentarios='") +
        db::EscaparComillas(Global::ComentarioRechazo) + QStringLiteral("'  WHERE solicitud=") +
        solicitud + QStringLiteral(" ") + ComoSeListo(QStringLiteral("Recibida"));
    const Escritura hecha = Escribir(sql, solicitud);
    // Kept only while the application can still be rejected with it.
    comentarioPendiente_ = hecha == Escritura::Fallida
                               ? qMakePair(solicitud, Global::ComentarioRechazo)
                               : QPair<QString, QString>();
    if (hecha != Escritura::Hecha) return;
    iSolicitudes->quitarFila(fila);
    MensajeInformacion(QStringLiteral("Solicitud Rechazada Correctamente!"),
                       QStringLiteral("Rechazar Solicitud"));
}

void FrmRechazos::Reactivar(int fila, const QString& solicitud, const QVariant& estado) {
    const QString sql =
        QStringLiteral(
            "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Recibida',"
            "comentarios='SOLICITUD REACTIVADA'  WHERE solicitud=") +
        solicitud + QStringLiteral(" ") + ComoSeListo(estado);
    if (Escribir(sql, solicitud) != Escritura::Hecha) return;
    MensajeInformacion(QStringLiteral("Solicitud Reactivada Correctamente!"),
                       QStringLiteral("Reactivar Solicitud"));
    iSolicitudes->ponerValor(fila, 5, QStringLiteral("Recibida"));
}

FrmRechazos::Escritura FrmRechazos::Escribir(const QString& sql, const QString& solicitud) {
    try {
        if (Global::Conexion.ejecutar(sql) == 1) return Escritura::Hecha;
    } catch (const db::ErrorBD& e) {
        MensajeError(e.mensaje(), TituloError);
        return Escritura::Fallida;
    }
    // Another station got there first: say where the application is now, and list again.
    const long long numero = solicitud.toLongLong();
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
