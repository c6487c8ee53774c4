// The demo as a new clerk meets it: every window opened on it has something to show, and the
// batch window's report is drawn without any server.
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "base_prueba.h"
#include "batches/frm_relaciones.h"
#include "capture/frm_clientes_encontrados.h"
#include "db/embedded/motor_incrustado.h"
#include "demo/demo.h"
#include "reception/frm_recepcion.h"
#include "rejections/frm_rechazos.h"
#include "servicios_falsos.h"
#include "startup/configuracion.h"
#include "startup/global.h"
#include "tracking/frm_rastreo.h"
#include "ui/rejilla.h"
#include "ventana_prueba.h"

namespace {

QSet<QString> Valores(const Rejilla* g, int columna) {
    QSet<QString> v;
    for (int f = 1; f <= g->numeroFilas(); ++f) v.insert(g->texto(f, columna));
    return v;
}

}  // namespace

class DemostracionTest : public QObject {
    Q_OBJECT

    QTemporaryDir casa;
    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

  private slots:
    void initTestCase() {
        qputenv("HOME", casa.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", casa.filePath(QStringLiteral("config")).toUtf8());
    }

    void init() {
        base = std::make_unique<BasePrueba>(demo::kCentro, demo::kSucursal);
        demo::SembrarDemo(base->motorDirecto());
        servicios = std::make_unique<ServiciosFalsos>();
        Global::Ajustes = configuracion::AjustesPredeterminados(casa.path());
        Global::Ajustes.servidorReportes = QStringLiteral("integrado");
    }

    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void lasSolicitudesEstanEnTodosLosEstados() {
        QCOMPARE(
            base->filas(QStringLiteral(
                "SELECT DISTINCT estado_actual FROM norv.Solicitudes_cliente_Nuevo ORDER BY 1")),
            (QStringList{"Autorizada", "Entregada", "Rechazada", "Recibida"}));
        const int total =
            base->valor(QStringLiteral("SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo"))
                .toInt();
        QVERIFY2(total >= 900 && total <= 1200, qPrintable(QString::number(total)));
        // Over the last five months, none in the future.
        QVERIFY(base->valor(QStringLiteral(
                                "SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo "
                                "WHERE Fecha_recepcion < date('now', 'localtime', '-150 days') "
                                "OR Fecha_recepcion > datetime('now', 'localtime')"))
                    .toInt() == 0);
        QVERIFY(base->valor(QStringLiteral("SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo "
                                           "WHERE comentarios = 'SOLICITUD REACTIVADA' AND "
                                           "Relacion IS NULL"))
                    .toInt() > 0);
        // Every telephone passes the capture window's rule: 13 digits.
        QCOMPARE(base->filas("SELECT telefono FROM norv.Solicitudes_cliente_Nuevo WHERE "
                             "length(telefono) <> 13 OR telefono GLOB '*[^0-9]*'"),
                 QStringList());
        QCOMPARE(base->filas(QStringLiteral("SELECT DISTINCT centro_distribucion FROM sucursales "
                                            "ORDER BY 1")),
                 (QStringList{"CHI", "JRZ"}));
        QVERIFY(
            base->valor(QStringLiteral("SELECT count(*) FROM anticipos_clientes WHERE saldo > 0"))
                .toInt() > 0);
        QVERIFY(
            base->valor(QStringLiteral("SELECT count(*) FROM anticipos_clientes WHERE saldo = 0"))
                .toInt() > 0);
    }

    void laVentanaDeRelacionesListaYImprime() {
        auto f = AbrirVentana<FrmRelaciones>();
        QVERIFY2(f->ISolicitudes->numeroFilas() > 30,
                 qPrintable(QString::number(f->ISolicitudes->numeroFilas())));
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QVERIFY(f->iRelaciones->numeroFilas() >= 5);
        const QSet<QString> estados = Valores(f->iRelaciones, 5);
        QVERIFY(estados.contains(QStringLiteral("Entregada")));
        QVERIFY(estados.contains(QStringLiteral("Parcial")));

        // A batch of the list printed again: drawn by the program, no server anywhere.
        const int fila = f->iRelaciones->numeroFilas() - 1;
        const QString numero = f->iRelaciones->texto(fila, 1);
        servicios->alMostrarModal = [](QDialog& d) { QTRY_VERIFY(!d.isVisible()); };
        emit f->iRelaciones->dobleClic(fila, 2);
        const QString pdf = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                            QStringLiteral("/Relacion_") + numero + QStringLiteral(".pdf");
        QCOMPARE(servicios->direcciones, QStringList{pdf});
        QVERIFY(QFile::exists(pdf));
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void laRecepcionDeTodosTieneLosTresResultados() {
        auto f = AbrirVentana<FrmRecepcion>();
        f->CmbVerificadores->setFocus();
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Home);
        QCOMPARE(f->CmbVerificadores->currentText(), QStringLiteral("* Todos *"));
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        QVERIFY(f->CmdConsultar->isEnabled());
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QVERIFY(f->ISolicitudes->numeroFilas() > 10);
        const QSet<QString> estados = Valores(f->ISolicitudes, 9);
        for (const char* e : {"Entregada", "Autorizada", "Rechazada"})
            QVERIFY2(estados.contains(QLatin1String(e)), e);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void losRechazosListanRecibidasYRechazadas() {
        auto f = AbrirVentana<FrmRechazos>();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        const QSet<QString> estados = Valores(f->iSolicitudes, 5);
        QVERIFY(estados.contains(QStringLiteral("Recibida")));
        QVERIFY(estados.contains(QStringLiteral("Rechazada")));
    }

    void unHomonimoTieneHistorial() {
        Global::NombreCompleto = QStringLiteral("HERNANDEZ GARCIA MARIA");
        FrmClientes_Encontrados f;
        QCOMPARE(f.iClientes->numeroFilas(), 3);
        int verificaciones = 0;
        for (int fila = 1; fila <= 3; ++fila) {
            f.iClientes->ponerCeldaActual(fila, 1);
            for (int v = 1; v <= f.iVerificaciones->numeroFilas(); ++v)
                verificaciones += !f.iVerificaciones->texto(v, 5).isEmpty();
        }
        QVERIFY(verificaciones > 0);
    }

    void elRastreoEncuentraClientesAvalesYTelefonos() {
        // Applications waiting for a batch whose customer has a bad record, whose guarantor
        // has a history, or whose telephone another customer gave.
        const QStringList elegidas = base->filas(QStringLiteral(
            "SELECT s.solicitud || '|' || s.Cliente || '|' || c.Nombre_Cliente "
            "FROM norv.Solicitudes_cliente_Nuevo s JOIN main.clientes c ON c.cliente = s.Cliente "
            "WHERE s.Relacion IS NULL AND s.estado_actual = 'Recibida' AND ("
            " c.es_Indeseable = 1 OR c.es_Incobrable = 1"
            " OR s.apellidos_Aval || ' ' || s.Nombre_Aval IN (SELECT k.Nombre_Cliente FROM "
            "  main.clientes k JOIN norv.Solicitudes_cliente_Nuevo a ON a.Cliente = k.cliente "
            "  WHERE a.estado_actual = 'Autorizada')"
            " OR s.telefono IN (SELECT o.telefono FROM norv.Solicitudes_cliente_Nuevo o "
            "  WHERE o.Cliente <> s.Cliente)) ORDER BY s.solicitud"));
        QVERIFY(elegidas.size() >= 3);
        Rejilla captura;
        for (int c = 1; c <= 7; ++c) captura.agregarColumna(QString::number(c));
        for (const QString& e : elegidas) {
            const QStringList p = e.split(QLatin1Char('|'));
            const int fila = captura.agregarFila();
            captura.ponerValor(fila, 1, p[0].toLongLong());
            captura.ponerValor(fila, 3, p[1].toLongLong());
            captura.ponerValor(fila, 4, p[2]);
        }
        Global::ComentarioRechazo = QStringLiteral("RASTREO");
        FrmRastreo f(&captura);
        QVERIFY(f.iClientes->numeroFilas() > 0);
        QVERIFY(f.IAvales->numeroFilas() > 0);
        QVERIFY(f.ITelefonos->numeroFilas() > 0);
    }
};

QTEST_MAIN(DemostracionTest)
#include "demostracion_test.moc"
