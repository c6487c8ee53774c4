// A statement that works long tells the program now and then, so that its windows repaint;
// while it is being told, the connection takes no other statement.
#include <sqlite3.h>

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"

class TrabajoLargoTest : public QObject {
    Q_OBJECT

  private slots:
    void avisaYNoAceptaOtraSentencia();
};

void TrabajoLargoTest::avisaYNoAceptaOtraSentencia() {
    QTemporaryDir dir;
    db::MotorIncrustado m(dir.filePath(QStringLiteral("datos")));
    QCOMPARE(sqlite3_exec(m.manejador(),
                          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                          "WHERE i < 3000) INSERT INTO clientes (Nombre_Cliente) "
                          "SELECT 'CLIENTE ' || (i * 7919 % 3000) FROM n",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    // Told at every chance, so that a sort of a few thousand rows is long enough.
    m.intervaloTrabajo(0);
    int avisos = 0;
    QStringList dentro;
    m.avisarTrabajo([&] {
        if (avisos++ > 0) return false;
        for (const auto& intento : std::initializer_list<std::function<void()>>{
                 [&] { m.consultar(QStringLiteral("SELECT COUNT(*) FROM clientes")); },
                 [&] { m.ejecutar(QStringLiteral("DELETE FROM clientes")); },
                 [&] { m.iniciarTransaccion(); }}) {
            try {
                intento();
                dentro << QStringLiteral("aceptada");
            } catch (const db::ErrorBD& e) {
                dentro << e.mensaje();
            }
        }
        return false;
    });
    auto r = m.consultar(QStringLiteral("SELECT Nombre_Cliente FROM clientes ORDER BY 1"));
    int filas = 0;
    while (r->siguiente()) ++filas;
    QCOMPARE(filas, 3000);
    QVERIFY(avisos > 0);
    const QString ocupada = QStringLiteral(
        "La base de datos está ocupada con otra consulta de este programa; intente de nuevo "
        "cuando termine.");
    QCOMPARE(dentro, QStringList({ocupada, ocupada, ocupada}));

    // Once the statement is done, the connection works as ever.
    m.avisarTrabajo({});
    auto cuenta = m.consultar(QStringLiteral("SELECT COUNT(*) FROM clientes"));
    QVERIFY(cuenta->siguiente());
    QCOMPARE(cuenta->valor(0).toLongLong(), 3000);
}

QTEST_GUILESS_MAIN(TrabajoLargoTest)
#include "trabajo_largo_test.moc"
