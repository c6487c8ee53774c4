// The transaction guard: what lands, what the statement log says, and that nothing escapes a
// window's handler to end the program.
#include "db/transaccion.h"

#include <QPushButton>
#include <QtTest>

#include "app/aplicacion.h"
#include "base_prueba.h"
#include "db/error_bd.h"
#include "servicios_falsos.h"
#include "startup/global.h"

namespace {

const QString kAlta = QStringLiteral(
    "INSERT INTO norv.dbo.Relaciones_Solicitudes_credito (centro_distribucion, verificador, "
    "elaborada_por) VALUES ('CHI', '    201', '    201')");
const QString kRota = QStringLiteral("INSERT INTO norv.dbo.no_existe (a) VALUES (1)");

}  // namespace

class TransaccionTest : public QObject {
    Q_OBJECT

  private slots:
    void loQueQuedaYLoQueDiceLaBitacora_data() {
        QTest::addColumn<int>("final");  // 0 confirm, 1 undo with a reason, 2 leave, 3 failure
        QTest::addColumn<int>("filas");
        QTest::addColumn<QString>("paso");
        QTest::newRow("confirmada") << 0 << 1 << "COMMIT TRANSACTION";
        QTest::newRow("deshecha con motivo")
            << 1 << 0 << "ROLLBACK TRANSACTION -- otra estación tomó la solicitud 8";
        QTest::newRow("abandonada") << 2 << 0 << "ROLLBACK TRANSACTION -- no se confirmó";
        QTest::newRow("falla") << 3 << 0 << "ROLLBACK TRANSACTION -- falla: ";
    }

    void loQueQuedaYLoQueDiceLaBitacora() {
        QFETCH(int, final);
        QFETCH(int, filas);
        QFETCH(QString, paso);
        BasePrueba base;
        QStringList bitacora, sentencias;
        const int todo =
            Global::Conexion.agregarObservador([&](const QString& s) { bitacora << s; }, true);
        const int solo =
            Global::Conexion.agregarObservador([&](const QString& s) { sentencias << s; });
        try {
            db::Transaccion t(Global::Conexion);
            Global::Conexion.ejecutar(kAlta);
            if (final == 0) t.confirmar();
            if (final == 1) t.deshacer(QStringLiteral("otra estación tomó la solicitud 8"));
            if (final == 3) Global::Conexion.ejecutar(kRota);
        } catch (const db::ErrorBD&) {
            QCOMPARE(final, 3);
        }
        Global::Conexion.quitarObservador(todo);
        Global::Conexion.quitarObservador(solo);
        QCOMPARE(
            base.valor(QStringLiteral("SELECT count(*) FROM norv.Relaciones_Solicitudes_credito"))
                .toInt(),
            filas);
        QCOMPARE(bitacora.first(), QStringLiteral("BEGIN TRANSACTION"));
        QVERIFY2(bitacora.last().startsWith(paso), qPrintable(bitacora.last()));
        if (final == 3) QVERIFY2(bitacora.last().size() > paso.size(), "sin el texto de la falla");
        // The steps go only to the observers that asked for them.
        QVERIFY(!sentencias.contains(QStringLiteral("BEGIN TRANSACTION")));
        QCOMPARE(sentencias.first(), kAlta);
        QVERIFY(!Global::Conexion.enTransaccion());
    }

    void unaFallaQueEscapaSeMuestraYElProgramaSigue() {
        BasePrueba base;
        ServiciosFalsos servicios;
        QPushButton boton;
        connect(&boton, &QPushButton::clicked, [] { Global::Conexion.ejecutar(kRota); });
        boton.show();
        QTest::mouseClick(&boton, Qt::LeftButton);
        QCOMPARE(servicios.mensajes.size(), 1);
        QCOMPARE(servicios.mensajes.first().icono, IconoMensaje::Critico);
        QCOMPARE(servicios.mensajes.first().titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(servicios.mensajes.first().texto.contains(QStringLiteral("Detalle:")),
                 qPrintable(servicios.mensajes.first().texto));
    }
};

int main(int argc, char** argv) {
    Aplicacion app(argc, argv);
    TransaccionTest prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "transaccion_test.moc"
