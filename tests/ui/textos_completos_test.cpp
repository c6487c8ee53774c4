// Every window read whole: no caption, label, button, check box, frame title or column title
// is cut, with the font in use and at the screen's scale (CTest runs this at 100, 125 and 150 %
// through QT_SCALE_FACTOR). Each widget is asked for the size it needs; nothing is drawn.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
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
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, es_verificador) "
            "VALUES ('     40', 'HERNANDEZ MALDONADO', 'MARIA GUADALUPE', 1, 1, 1);"
            "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1, 'HERNANDEZ MALDONADO MARIA');"
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

    void cadaVentanaSeLeeCompleta_data() {
        QTest::addColumn<int>("ventana");
        const char* nombres[] = {"FrmLogin",      "FrmCaptura",  "FrmClientes_Encontrados",
                                 "FrmRelaciones", "FrmReporte",  "FrmCredenciales",
                                 "FrmRecepcion",  "FrmRechazos", "FrmComentarios",
                                 "FrmRastreo"};
        for (int i = 0; i < int(std::size(nombres)); ++i) QTest::newRow(nombres[i]) << i;
    }

    void cadaVentanaSeLeeCompleta() {
        QFETCH(int, ventana);
        Rejilla captura;
        std::unique_ptr<QDialog> v;
        switch (ventana) {
            case 0: v = std::make_unique<FrmLogin>(); break;
            case 1: v = std::make_unique<FrmCaptura>(); break;
            case 2: v = std::make_unique<FrmClientes_Encontrados>(); break;
            case 3: {
                auto f = std::make_unique<FrmRelaciones>();
                f->CmdConsultar->click();
                v = std::move(f);
                break;
            }
            case 4: v = std::make_unique<FrmReporte>(); break;
            case 5: v = std::make_unique<FrmCredenciales>(QStringLiteral("reportes:88"), QStringLiteral("EMPRESA"), true); break;
            case 6: {
                auto f = std::make_unique<FrmRecepcion>();
                f->CmbVerificadores->setCurrentIndex(0);
                Global::ClavePersona = QStringLiteral("%");
                f->DtpFecha2->ponerFecha(QDate::currentDate().addDays(1));
                f->CmdConsultar->setEnabled(true);
                f->CmdConsultar->click();
                QCOMPARE(f->ISolicitudes->numeroFilas(), 1);
                v = std::move(f);
                break;
            }
            case 7: v = std::make_unique<FrmRechazos>(); break;
            case 8: v = std::make_unique<FrmComentarios>(); break;
            case 9: v = std::make_unique<FrmRastreo>(&captura); break;
        }
        const QStringList cortados = Cortados(*v);
        QVERIFY2(cortados.isEmpty(), qPrintable(QStringLiteral("\n") + cortados.join(QLatin1Char('\n'))));
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
            const QString texto = g->texto(1, c);
            QVERIFY2(medida.horizontalAdvance(texto) + 6 <= g->anchoColumna(c),
                     qPrintable(QStringLiteral("%1: «%2» en %3").arg(g->tituloColumna(c), texto).arg(g->anchoColumna(c))));
        }
    }
};

QTEST_MAIN(TextosCompletosTest)
#include "textos_completos_test.moc"
