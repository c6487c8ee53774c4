// The office dashboard over a handful of applications whose figures are known: the reads'
// figures, the statements sent, and the window reached from capture, consulted and exported
// with the keyboard as a supervisor would.
#include "tablero/frm_tablero.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "base_prueba.h"
#include "capture/frm_captura.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "tablero/cifras_tablero.h"
#include "ui/exportar.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/trabajo_largo.h"
#include "ventana_prueba.h"

namespace {

// A moment `dias` days ago at `hora`, as the engine keeps dates.
QString Hace(int dias, const char* hora = "10:00:00") {
    return QStringLiteral("strftime('%Y-%m-%d %1.000', 'now', 'localtime', '-%2 days')")
        .arg(QLatin1String(hora))
        .arg(dias);
}

// Chooses `accion` with the keyboard from the context menu that opens next.
void ElegirDelMenu(QObject* dueno, const QString& accion) {
    auto* reloj = new QTimer(dueno);
    reloj->setInterval(10);
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, accion] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        reloj->deleteLater();
        for (QAction* a : menu->actions())
            if (a->objectName() == accion) menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    reloj->start();
}

}  // namespace

class FrmTableroTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    QTemporaryDir dir;

  private slots:
    void initTestCase() { exportar::AgregarAlMenuDeLasRejillas(); }

    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        base->sqlite(
            QStringLiteral(
                "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
                "('1', 'Matriz Centro', 'CHI'), ('2', 'Aldama', 'CHI'), ('9', 'Juárez', 'JRZ');"
                "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
                "es_verificador) VALUES ('    101', 'PEREZ', 'JUAN', 1, 1, 0), "
                "('    102', 'SOTO', 'ANA', 2, 1, 0), ('    201', 'CRUZ', 'LUIS', 1, 0, 1);"
                "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1, 'DIAZ MORA LUIS');"
                "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
                "verificador, elaborada_por, fecha_entrega) VALUES (1, 'CHI', '201', '201', %1);")
                .arg(Hace(10, "09:00:00")));
        // Number, branch, salesperson, days ago, batch, state.
        const char* solicitudes[] = {
            "101, '1', '101', 1, NULL, 'Recibida'",  "102, '1', '101', 4, NULL, 'Recibida'",
            "103, '2', '102', 4, NULL, 'Recibida'",  "104, '2', '102', 8, NULL, 'RECIBIDA '",
            "105, '1', '102', 15, NULL, 'Recibida'", "106, '2', '102', 3, NULL, 'Rechazada'",
            "107, '9', '101', 1, NULL, 'Recibida'",  "108, '1', '101', 12, 1, 'Autorizada'",
            "109, '1', '102', 11, 1, 'Rechazada'",   "110, '2', '101', 13, 1, 'Entregada'",
            "111, '1', '101', 40, NULL, 'Recibida'"};
        for (const char* s : solicitudes) {
            const QStringList v = QString::fromLatin1(s).split(QStringLiteral(", "));
            base->sqlite(QStringLiteral("INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, "
                                        "Cliente, Sucursal, Vendedor, Fecha_recepcion, Relacion, "
                                        "estado_actual) VALUES (%1, 1, %2, %3, %4, %5, %6)")
                             .arg(v[0], v[1], v[2], Hace(v[3].toInt()), v[4], v[5]));
        }
        // Verified 8 and 7 days ago: 2 and 3 days after the delivery; 110 not yet.
        base->sqlite(QStringLiteral("INSERT INTO norv.detalles_Relaciones_Solicitudes "
                                    "(Relacion, Solicitud, tiene_cita, fecha_verificacion) VALUES "
                                    "(1, 108, 1, %1), (1, 109, 1, %2), (1, 110, 1, NULL)")
                         .arg(Hace(8, "12:00:00"), Hace(7, "12:00:00")));
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void lasCifrasSonLasDeLasSolicitudes() {
        const QDate hoy = QDate::currentDate();
        base->limpiar();
        const tablero::Cifras c =
            tablero::LeerCifras(Global::Conexion, {QStringLiteral("CHI"), hoy.addDays(-29), hoy});
        QCOMPARE(base->enviadas.size(), tablero::kLecturas);
        QCOMPARE(base->enviadas[3],
                 QStringLiteral("SELECT DATEDIFF(day, s.Fecha_recepcion, GETDATE()) 'Dia', "
                                "COUNT(*) 'Cuenta' FROM NORV.dbo.Solicitudes_cliente_Nuevo s JOIN "
                                "sucursales su ON s.sucursal = su.sucursal WHERE "
                                "su.centro_distribucion='CHI' AND s.Fecha_recepcion BETWEEN "
                                "erp_oxa.dbo.fecha('%1','Inicio') and erp_oxa.dbo.fecha('%2',"
                                "'Final') AND s.Relacion IS NULL AND s.estado_actual<>'Rechazada' "
                                "GROUP BY DATEDIFF(day, s.Fecha_recepcion, GETDATE())")
                     .arg(hoy.addDays(-29).toString(QStringLiteral("yyyyMMdd")),
                          hoy.toString(QStringLiteral("yyyyMMdd"))));
        QCOMPARE(c.pendientes, (std::array<long long, 4>{1, 2, 1, 1}));
        QCOMPARE(c.sucursales.size(), size_t(2));
        QCOMPARE(c.sucursales[0].nombre, QStringLiteral("Aldama"));
        QCOMPARE(
            c.sucursales[0].porEstado,
            (std::map<QString, long long>{{"Recibida", 2}, {"Rechazada", 1}, {"Entregada", 1}}));
        QCOMPARE(
            c.sucursales[1].porEstado,
            (std::map<QString, long long>{{"Recibida", 3}, {"Rechazada", 1}, {"Autorizada", 1}}));
        QCOMPARE(std::accumulate(c.capturadas.begin(), c.capturadas.end(), 0LL), 9LL);
        QCOMPARE(c.capturadas[25], 2LL);
        QCOMPARE(c.relaciones[19], 1LL);
        QCOMPARE(c.verificadores.size(), size_t(1));
        const auto& v = c.verificadores[0];
        QCOMPARE(v.nombre, QStringLiteral("CRUZ LUIS"));
        // Delivered after 2, 1 and 3 days; results after 2 and 3.
        QCOMPARE((QList<long long>{v.entrega.cuenta, v.entrega.mediana, v.entrega.p90}),
                 (QList<long long>{3, 2, 3}));
        QCOMPARE((QList<long long>{v.resultado.cuenta, v.resultado.mediana, v.resultado.p90}),
                 (QList<long long>{2, 2, 3}));
        auto tasas = [](const std::vector<tablero::Rechazos>& r) {
            QStringList l;
            for (const auto& x : r)
                l << QStringLiteral("%1 %2/%3").arg(x.nombre).arg(x.rechazadas).arg(x.resueltas);
            return l;
        };
        QCOMPARE(tasas(c.rechazosSucursal), (QStringList{"Aldama 1/1", "Matriz Centro 1/2"}));
        QCOMPARE(tasas(c.rechazosVendedor), (QStringList{"SOTO ANA 2/2", "PEREZ JUAN 0/1"}));
    }

    void elSupervisorAbreElTableroVeLasMasViejasYLasExporta() {
        const QString ruta = dir.filePath(QStringLiteral("viejas.xlsx"));
        QStringList lista;
        // The list of the oldest pending: exported from its context menu.
        auto pendientes = [&](QDialog& d) {
            auto* g = d.findChild<Rejilla*>(QStringLiteral("iSolicitudes"));
            QVERIFY(g);
            QTRY_COMPARE(QApplication::activeWindow(), &d);
            for (int f = 1; f <= g->numeroFilas(); ++f)
                lista << g->texto(f, 1) + ' ' + g->texto(f, 4);
            servicios->archivoGuardar = ruta;
            g->setFocus();
            ElegirDelMenu(g, QStringLiteral("AccionExportar"));
            QTest::keyClick(g, Qt::Key_Menu);
            QTRY_VERIFY(QFile::exists(ruta));
        };
        auto tablero = [&](QDialog& d) {
            auto& t = static_cast<FrmTablero&>(d);
            QTRY_COMPARE(QApplication::activeWindow(), &t);
            QCOMPARE(t.paginas[FrmTablero::Pendientes].tabla->texto(4, 2), QStringLiteral("1"));
            // Only the last week: the oldest pending is out of it.
            QTest::keyClick(&t, Qt::Key_A, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), t.DtpAl);
            QTest::keyClick(t.DtpAl, Qt::Key_Backtab, Qt::ShiftModifier);
            QTest::keyClicks(t.DtpDel, QDate::currentDate().addDays(-6).toString("ddMMyyyy"));
            QTest::keyClick(t.DtpDel, Qt::Key_Tab);
            // The chart in view follows each consult, drawn anew or updated in place: its
            // stacks add up to the table's totals.
            auto cuadra = [&] {
                const auto* tabla = t.paginas[FrmTablero::Estados].tabla;
                const auto* pilas = static_cast<QAbstractBarSeries*>(
                    t.paginas[FrmTablero::Estados].grafica->chart()->series()[0]);
                QCOMPARE(pilas->barSets()[0]->count(), tabla->numeroFilas());
                for (int f = 1; f <= tabla->numeroFilas(); ++f) {
                    double suma = 0;
                    for (const QBarSet* s : pilas->barSets()) suma += s->at(f - 1);
                    QCOMPARE(QString::number(suma), tabla->texto(f, tabla->numeroColumnas()));
                }
            };
            cuadra();
            QTest::keyClick(&t, Qt::Key_C, Qt::AltModifier);
            QCOMPARE(t.CmdTramos[3]->text(), QStringLiteral("Más de 10 días: 0"));
            cuadra();
            QTest::keyClick(t.DtpDel, Qt::Key_Home);
            t.DtpDel->ponerFecha(QDate::currentDate().addDays(-29));
            QTest::keyClick(&t, Qt::Key_C, Qt::AltModifier);
            cuadra();
            QTest::keyClick(&t, Qt::Key_N, Qt::AltModifier);
            QCOMPARE(t.Paginas->currentIndex(), int(FrmTablero::Pendientes));
            // Its chart drawn as the page opened, from the figures read last.
            const auto barras = t.paginas[FrmTablero::Pendientes].grafica->chart()->series();
            QCOMPARE(barras.size(), 1);
            QCOMPARE(static_cast<QBarSeries*>(barras[0])->barSets()[0]->at(3), 1.0);
            t.CmdTramos[3]->setFocus();
            QTest::keyClick(t.CmdTramos[3], Qt::Key_Space);
        };
        servicios->accionesModales = {tablero, pendientes};
        auto captura = AbrirVentana<FrmCaptura>();
        QTest::keyClick(captura.get(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(servicios->dialogos.size(), 2);
        QCOMPARE(servicios->dialogos[0].titulo, QStringLiteral("Tablero de la Oficina"));
        QCOMPARE(servicios->dialogos[1].titulo,
                 QStringLiteral("Solicitudes Pendientes: Más de 10 días"));
        QCOMPARE(lista, QStringList{QStringLiteral("105 15")});
        QCOMPARE(servicios->mensajes.last().texto,
                 QStringLiteral("La lista quedó guardada en:\r\n") + ruta);
        Global::CambiosPendientes = false;
    }

    // Escape at the first read: nothing more is read and the figures shown stay.
    void detenerLaConsultaDejaLasCifrasAnteriores() {
        auto t = AbrirVentana<FrmTablero>();
        const QString antes = t->CmdTramos[3]->text();
        const QDate del = t->cifras()->rango.del;
        t->DtpDel->ponerFecha(QDate::currentDate().addDays(-6));
        TrabajoLargo::UmbralMs = 0;
        QStringList enviadas;
        const int observador = Global::Conexion.agregarObservador([&](const QString& s) {
            if (enviadas.isEmpty())
                QTimer::singleShot(0, t.get(), [] {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                });
            enviadas << s;
        });
        QTest::keyClick(t.get(), Qt::Key_C, Qt::AltModifier);
        Global::Conexion.quitarObservador(observador);
        TrabajoLargo::UmbralMs = 300;
        QCOMPARE(enviadas.size(), 1);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(
            servicios->mensajes[0].texto,
            QStringLiteral("Se detuvo la consulta: el tablero sigue con las cifras anteriores."));
        QCOMPARE(t->cifras()->rango.del, del);
        QCOMPARE(t->CmdTramos[3]->text(), antes);
        QVERIFY(t->isVisible());
    }
};

QTEST_MAIN(FrmTableroTest)
#include "frm_tablero_test.moc"
