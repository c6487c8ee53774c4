// The ODBC engine's reads, writes and transactions through a real ODBC driver. No SQL Server is
// at hand on a build machine, so the SQLite ODBC driver (package libsqliteodbc) stands in: the
// road through unixODBC and Qt's QODBC driver is the same one the company's server takes.
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include "controlador_odbc.h"
#include "db/error_bd.h"
#include "db/motor_odbc.h"

using db::Direccion;
using db::ErrorBD;
using db::MotorOdbc;
using db::Parametro;
using db::Resultado;
using db::TipoParametro;

namespace {

QStringList conexionesDelMotor() {
    QStringList r;
    for (const QString& n : QSqlDatabase::connectionNames())
        if (n.startsWith(QLatin1String("solicitudes_odbc_"))) r << n;
    return r;
}

}  // namespace

class MotorOdbcConsultasPrueba : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString controlador_;
    int archivo_ = 0;
    QString cadena_;

    long long contar(MotorOdbc& m, const QString& tabla) {
        auto r = m.consultar(QStringLiteral("select count(*) from ") + tabla);
        return r->siguiente() ? r->valor(0).toLongLong() : -1;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        controlador_ = buscarControlador(QStringLiteral("libsqlite3odbc.so"));
        QFile f(dir_.filePath(QStringLiteral("odbcinst.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write(QStringLiteral("[SQLite3]\nDriver=%1\n").arg(controlador_).toUtf8());
        f.close();
        qputenv("ODBCSYSINI", QFile::encodeName(dir_.path()));
        qputenv("ODBCINSTINI", "odbcinst.ini");
    }

    // A fresh database file for each test.
    void init() {
        if (controlador_.isEmpty())
            QSKIP("libsqlite3odbc.so (paquete libsqliteodbc) no está instalado");
        cadena_ = QStringLiteral("Driver={SQLite3};Database=%1;")
                      .arg(dir_.filePath(QStringLiteral("prueba%1.db").arg(++archivo_)));
    }

    void ejecutarDevuelveLosRenglonesCambiados() {
        MotorOdbc m(cadena_);
        m.ejecutar(QStringLiteral("create table t(n integer, s varchar(20))"));
        QCOMPARE(m.ejecutar(QStringLiteral("insert into t values(1, 'a')")), 1);
        QCOMPARE(m.ejecutar(QStringLiteral("insert into t values(2, 'b')")), 1);
        QCOMPARE(m.ejecutar(QStringLiteral("insert into t values(3, 'b')")), 1);
        QCOMPARE(m.ejecutar(QStringLiteral("update t set n = n + 10 where s = 'b'")), 2);
        QCOMPARE(m.ejecutar(QStringLiteral("delete from t where n > 100")), 0);
        QCOMPARE(contar(m, QStringLiteral("t where n > 10")), 2);
    }

    void consultarDaNombresYValoresConSuTipo() {
        MotorOdbc m(cadena_);
        m.ejecutar(
            QStringLiteral("create table t(a integer, b real, c varchar(20), d datetime, e date, f "
                           "bit, g bigint)"));
        m.ejecutar(
            QStringLiteral("insert into t values(7, 2.5, 'PEÑA O''HIGGINS', "
                           "'2024-03-05 10:11:12', '2024-03-06', 1, 9000000000)"));
        m.ejecutar(QStringLiteral("insert into t values(null, null, null, null, null, 0, null)"));
        auto r = m.consultar(QStringLiteral("select * from t order by a desc"));
        QCOMPARE(r->columnas(), 7);
        QCOMPARE(r->nombreColumna(0), QStringLiteral("a"));
        QCOMPARE(r->nombreColumna(6), QStringLiteral("g"));
        QVERIFY(r->valor(0).isNull());  // no current row before the first siguiente()

        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).typeId(), QMetaType::LongLong);
        QCOMPARE(r->valor(0).toLongLong(), 7);
        QCOMPARE(r->valor(1).typeId(), QMetaType::Double);
        QCOMPARE(r->valor(1).toDouble(), 2.5);
        QCOMPARE(r->valor(2), QVariant(QStringLiteral("PEÑA O'HIGGINS")));
        QCOMPARE(r->valor(3).typeId(), QMetaType::QDateTime);
        QCOMPARE(r->valor(3).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)));
        QCOMPARE(r->valor(4).typeId(), QMetaType::QDateTime);
        QCOMPARE(r->valor(4).toDateTime(), QDateTime(QDate(2024, 3, 6), QTime(0, 0)));
        QCOMPARE(r->valor(5), QVariant(true));
        QCOMPARE(r->valor(6), QVariant(qint64(9000000000)));

        QVERIFY(r->siguiente());
        for (int i : {0, 1, 2, 3, 4, 6})
            QVERIFY2(r->valor(i).isNull(), qPrintable(QString::number(i)));
        QCOMPARE(r->valor(5), QVariant(false));
        QVERIFY(!r->siguiente());
        QVERIFY(!r->siguiente());
        QVERIFY(r->valor(0).isNull());
    }

    void unResultadoSigueLeyendoseMientrasCorrenOtrasInstrucciones() {
        MotorOdbc m(cadena_);
        m.ejecutar(QStringLiteral("create table t(n integer)"));
        for (int i = 1; i <= 3; ++i) m.ejecutar(QStringLiteral("insert into t values(%1)").arg(i));
        auto r = m.consultar(QStringLiteral("select n from t order by n"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 1);
        // A save between rows, as the tracking loop does.
        QCOMPARE(m.ejecutar(QStringLiteral("update t set n = n * 100")), 3);
        auto otra = m.consultar(QStringLiteral("select max(n) from t"));
        QVERIFY(otra->siguiente());
        QCOMPARE(otra->valor(0).toInt(), 300);
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 2);
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 3);
        QVERIFY(!r->siguiente());
    }

    void unaInstruccionSinRenglonesDaResultadoVacio() {
        MotorOdbc m(cadena_);
        m.ejecutar(QStringLiteral("create table t(n integer)"));
        auto r = m.consultar(QStringLiteral("select n from t"));
        QCOMPARE(r->columnas(), 1);
        QVERIFY(!r->siguiente());
    }

    void losErroresLlevanElTextoDelControlador() {
        MotorOdbc m(cadena_);
        try {
            m.consultar(QStringLiteral("select * from no_existe"));
            QFAIL("la consulta sobre una tabla inexistente no falló");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.mensaje().startsWith(
                         QLatin1String("SQL Server no pudo ejecutar la consulta; avise a soporte")),
                     qPrintable(e.mensaje()));
            QVERIFY2(e.mensaje().contains(QLatin1String("no_existe")), qPrintable(e.mensaje()));
        }
        try {
            m.ejecutar(QStringLiteral("insert into no_existe values(1)"));
            QFAIL("la inserción en una tabla inexistente no falló");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.mensaje().contains(QLatin1String("no_existe")), qPrintable(e.mensaje()));
        }
        // The connection stays usable after an error.
        m.ejecutar(QStringLiteral("create table t(n integer)"));
        QCOMPARE(contar(m, QStringLiteral("t")), 0);
    }

    void deshacerQuitaYConfirmarDeja() {
        {
            MotorOdbc m(cadena_);
            m.ejecutar(QStringLiteral("create table t(n integer)"));
            m.iniciarTransaccion();
            m.ejecutar(QStringLiteral("insert into t values(1)"));
            QCOMPARE(contar(m, QStringLiteral("t")), 1);
            m.deshacerTransaccion();
            QCOMPARE(contar(m, QStringLiteral("t")), 0);
            m.deshacerTransaccion();  // nothing begun: nothing to undo, no error

            m.iniciarTransaccion();
            m.ejecutar(QStringLiteral("insert into t values(2)"));
            m.confirmarTransaccion();
            // Left open on purpose: closing the engine abandons it.
            m.iniciarTransaccion();
            m.ejecutar(QStringLiteral("insert into t values(3)"));
        }
        MotorOdbc otro(cadena_);
        auto r = otro.consultar(QStringLiteral("select n from t"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 2);
        QVERIFY(!r->siguiente());
    }

    void cadaMotorTieneSuConexionYLaCierra() {
        {
            MotorOdbc a(cadena_);
            MotorOdbc b(cadena_);
            QCOMPARE(conexionesDelMotor().size(), 2);
            a.ejecutar(QStringLiteral("create table t(n integer)"));
            QCOMPARE(contar(b, QStringLiteral("t")), 0);
        }
        QVERIFY(conexionesDelMotor().isEmpty());
    }

    void llamarConValorInvalidoNoLlegaAlServidor() {
        MotorOdbc m(cadena_);
        QList<Parametro> ps = {Parametro{QStringLiteral("@nCliente"), TipoParametro::Integer,
                                         Direccion::Entrada, 4, QStringLiteral("doce")}};
        try {
            m.llamar(QStringLiteral("norv.dbo.Cliente_Compra_Facil"), ps);
            QFAIL("un entero ilegible no falló");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.mensaje().contains(QLatin1String("@nCliente")), qPrintable(e.mensaje()));
        }
    }

    void llamarQueFallaDiceQueProcedimiento() {
        MotorOdbc m(cadena_);
        QList<Parametro> ps = {Parametro{QStringLiteral("@Nfolio"), TipoParametro::Integer,
                                         Direccion::Salida, 8, QVariant()}};
        try {
            m.llamar(QStringLiteral("REGRESA_FOLIO"), ps);
            QFAIL("SQLite no tiene procedimientos y la llamada no falló");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.mensaje().startsWith(QLatin1String(
                         "SQL Server no pudo ejecutar el procedimiento REGRESA_FOLIO; ")),
                     qPrintable(e.mensaje()));
        }
    }
};

QTEST_MAIN(MotorOdbcConsultasPrueba)
#include "motor_odbc_consultas_test.moc"
