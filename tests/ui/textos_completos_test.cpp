// Every window read whole: no caption, label, button, check box, frame title or column title
// is cut, with the font in use and at the screen's scale (CTest runs this at 100, 125 and 150 %
// through QT_SCALE_FACTOR, and on a 1024 × 768 screen at 120 dpi). Each widget is asked for
// the size it needs; nothing is drawn. On screen, every window is within the free area and
// every control can be reached: given the keyboard, it is in view.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <functional>

#include "base_prueba.h"
#include "batches/frm_credenciales.h"
#include "batches/frm_relaciones.h"
#include "batches/frm_reporte.h"
#include "capture/frm_captura.h"
#include "capture/frm_clientes_encontrados.h"
#include "login/frm_login.h"
#include "reception/frm_recepcion.h"
#include "rejections/frm_comentarios.h"
#include "rejections/frm_rechazos.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "tracking/frm_rastreo.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

// What does not fit in `ventana`, one line each: "objeto: needs W×H, has W×H".
QStringList Cortados(QWidget& ventana) {
    ventana.ensurePolished();
    for (QWidget* w : ventana.findChildren<QWidget*>()) w->ensurePolished();
    QCoreApplication::processEvents();
    QStringList r;
    auto revisar = [&](QWidget* w, QSize necesita, const QString& que) {
        if (necesita.width() > w->width() || necesita.height() > w->height())
            r << QStringLiteral("%1 «%2»: necesita %3×%4, tiene %5×%6")
                     .arg(w->objectName(), que)
                     .arg(necesita.width())
                     .arg(necesita.height())
                     .arg(w->width())
                     .arg(w->height());
    };
    for (QWidget* w : ventana.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&ventana)) continue;
        if (auto* e = qobject_cast<QLabel*>(w)) {
            if (e->text().isEmpty() || qobject_cast<QLineEdit*>(e->parentWidget())) continue;
            QSize necesita = e->sizeHint();
            // A caption beside its box does not touch it.
            if (e->buddy()) necesita.rwidth() += 4;
            if (e->hasHeightForWidth()) necesita = QSize(0, e->heightForWidth(e->width()));
            revisar(e, necesita, e->text());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty()) continue;
            revisar(b, b->sizeHint(), b->text());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            revisar(g, QSize(g->minimumSizeHint().width(), 0), g->title());
        } else if (auto* rejilla = qobject_cast<Rejilla*>(w)) {
            QHeaderView* h = rejilla->horizontalHeader();
            for (int i = 0; i < h->count(); ++i) {
                if (h->isSectionHidden(i)) continue;
                const int necesita = h->sectionSizeHint(i);
                if (necesita > h->sectionSize(i))
                    r << QStringLiteral("%1 columna «%2»: necesita %3, tiene %4")
                             .arg(rejilla->objectName(), rejilla->tituloColumna(i + 1))
                             .arg(necesita)
                             .arg(h->sectionSize(i));
            }
        }
    }
    return r;
}

// The focus moves without the windows' leave rules: what is looked at is where a control is.
class SinEventosDeFoco : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        return evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut;
    }
};

}  // namespace

class TextosCompletosTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        // Lists with their longest kind of content, as the clerks see them.
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', 'MATRIZ CENTRO', 'CHI');"
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
            "es_verificador) "
            "VALUES ('     40', 'HERNANDEZ MALDONADO', 'MARIA GUADALUPE', 1, 1, 1);"
            "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1, 'HERNANDEZ MALDONADO "
            "MARIA');"
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Sucursal, Relacion) "
            "VALUES (9876, 1, '1', 1);"
            "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
            "verificador, elaborada_por) VALUES (1, 'CHI', '     40', '     40');"
            "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, "
            "fecha_verificacion, estado_Actual, Linea_Autorizada) VALUES (1, 9876, "
            "'2026-12-06 10:15:00.000', 'Autorizada', 125000.5)"));
        Global::NombreCompleto = QStringLiteral("HERNANDEZ MALDONADO MARIA");
        Global::Ajustes.servidorReportes = QStringLiteral("127.0.0.1:1");
    }
    void cleanup() {
        Global::CambiosPendientes = false;
        servicios.reset();
        base.reset();
    }

    // The program's windows, and with `conGuardar` Qt's save dialog as the program shows it.
    static void Ventanas(bool conGuardar) {
        QTest::addColumn<int>("ventana");
        const char* nombres[] = {"FrmLogin",      "FrmCaptura",  "FrmClientes_Encontrados",
                                 "FrmRelaciones", "FrmReporte",  "FrmCredenciales",
                                 "FrmRecepcion",  "FrmRechazos", "FrmComentarios",
                                 "FrmRastreo",    "Guardar"};
        const int cuantas = int(std::size(nombres)) - (conGuardar ? 0 : 1);
        for (int i = 0; i < cuantas; ++i) QTest::newRow(nombres[i]) << i;
    }

    // Each window with the longest kind of content its lists get.
    static std::unique_ptr<QDialog> Crear(int ventana, Rejilla& captura) {
        std::unique_ptr<QDialog> v;
        switch (ventana) {
            case 0:
                v = std::make_unique<FrmLogin>();
                break;
            case 1:
                v = std::make_unique<FrmCaptura>();
                break;
            case 2:
                v = std::make_unique<FrmClientes_Encontrados>();
                break;
            case 3: {
                auto f = std::make_unique<FrmRelaciones>();
                f->CmdConsultar->click();
                v = std::move(f);
                break;
            }
            case 4:
                v = std::make_unique<FrmReporte>();
                break;
            case 5:
                v = std::make_unique<FrmCredenciales>(QStringLiteral("reportes:88"),
                                                      QStringLiteral("EMPRESA"), true);
                break;
            case 6: {
                auto f = std::make_unique<FrmRecepcion>();
                f->CmbVerificadores->setCurrentIndex(0);
                Global::ClavePersona = QStringLiteral("%");
                f->DtpFecha2->ponerFecha(QDate::currentDate().addDays(1));
                f->CmdConsultar->setEnabled(true);
                f->CmdConsultar->click();
                v = std::move(f);
                break;
            }
            case 7:
                v = std::make_unique<FrmRechazos>();
                break;
            case 8:
                v = std::make_unique<FrmComentarios>();
                break;
            case 9:
                v = std::make_unique<FrmRastreo>(&captura);
                break;
            case 10:
                v = DialogoGuardar(QStringLiteral("Exportar a Excel"),
                                   QStringLiteral("Pendientes 2026-12-09.xlsx"),
                                   QStringLiteral("Libro de Excel (*.xlsx)"));
                break;
        }
        return v;
    }

    void cadaVentanaSeLeeCompleta_data() { Ventanas(false); }
    void cadaVentanaSeLeeCompleta() {
        QFETCH(int, ventana);
        Rejilla captura;
        std::unique_ptr<QDialog> v = Crear(ventana, captura);
        if (auto* recepcion = qobject_cast<FrmRecepcion*>(v.get()))
            QCOMPARE(recepcion->ISolicitudes->numeroFilas(), 1);
        const QStringList cortados = Cortados(*v);
        QVERIFY2(cortados.isEmpty(),
                 qPrintable(QStringLiteral("\n") + cortados.join(QLatin1Char('\n'))));
    }

    // On screen the whole window, frame included, is within the free area; every control the
    // keyboard stops at is in view once it has the keyboard (a list larger than the view from
    // its top left corner), and the scroll bars of a window made smaller reach every control.
    void cadaVentanaCabeEnLaPantalla_data() { Ventanas(true); }
    void cadaVentanaCabeEnLaPantalla() {
        QFETCH(int, ventana);
        Rejilla captura;
        std::unique_ptr<QDialog> v = Crear(ventana, captura);
        v->show();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v.get()));
        const QRect libre = v->screen()->availableGeometry();
        QTRY_VERIFY(libre.contains(v->frameGeometry()));

        SinEventosDeFoco sinFoco;
        qApp->installEventFilter(&sinFoco);
        // The capture window's leave rules listen to the focus moving as well.
        QObject::disconnect(qApp, &QApplication::focusChanged, v.get(), nullptr);
        auto* area = v->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
        const QRect vista =
            area ? QRect(area->viewport()->mapTo(v.get(), QPoint()), area->viewport()->size())
                 : v->rect();
        for (QWidget* c = v->nextInFocusChain(); c != v.get(); c = c->nextInFocusChain()) {
            if (!(c->focusPolicy() & Qt::TabFocus) || c->focusProxy() || !c->isEnabled() ||
                !c->isVisibleTo(v.get()) || qobject_cast<QAbstractItemView*>(c->parentWidget()))
                continue;
            c->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            const QRect lugar(c->mapTo(v.get(), QPoint()), c->size());
            QVERIFY2(vista.contains(lugar.topLeft()) &&
                         (lugar.width() > vista.width() || lugar.right() <= vista.right()) &&
                         (lugar.height() > vista.height() || lugar.bottom() <= vista.bottom()),
                     qPrintable(c->objectName()));
        }
        qApp->removeEventFilter(&sinFoco);
        if (!area) return;
        const QRect alcance(QPoint(),
                            area->viewport()->size() + QSize(area->horizontalScrollBar()->maximum(),
                                                             area->verticalScrollBar()->maximum()));
        for (QWidget* c : area->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(alcance.contains(c->geometry()), qPrintable(c->objectName()));
    }

    // The reception grid shows its dates, numbers and states whole once searched.
    void lasCeldasDeLaRecepcionSeVenCompletas() {
        FrmRecepcion f;
        f.CmbVerificadores->setCurrentIndex(0);
        Global::ClavePersona = QStringLiteral("%");
        f.DtpFecha2->ponerFecha(QDate::currentDate().addDays(1));
        f.CmdConsultar->setEnabled(true);
        f.CmdConsultar->click();
        Rejilla* g = f.ISolicitudes;
        QCOMPARE(g->numeroFilas(), 1);
        const QFontMetrics medida = g->fontMetrics();
        for (int c : {1, 2, 3, 4, 6, 7, 8, 9, 10}) {
            const QString texto = g->textoMostrado(1, c);
            QVERIFY2(medida.horizontalAdvance(texto) + 6 <= g->anchoColumna(c),
                     qPrintable(QStringLiteral("%1: «%2» en %3")
                                    .arg(g->tituloColumna(c), texto)
                                    .arg(g->anchoColumna(c))));
        }
    }
};

QTEST_MAIN(TextosCompletosTest)
#include "textos_completos_test.moc"
