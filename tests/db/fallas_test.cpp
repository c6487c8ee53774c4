// What the clerk reads for failures that cannot be brought about on this machine: the ODBC
// drivers' texts as they come from SQL Server, FreeTDS and unixODBC, and SQLite failures of the
// disk. The embedded engine's own failures are produced for real in motor_incrustado_fallas_test.
#include "db/fallas.h"

#include <sqlite3.h>

#include <QtTest>
#include <cerrno>

using db::TipoFalla;

Q_DECLARE_METATYPE(db::TipoFalla)

class FallasTest : public QObject {
    Q_OBJECT
  private slots:
    void textosDeLosControladoresOdbc_data() {
        QTest::addColumn<QString>("nativos");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<TipoFalla>("tipo");
        QTest::addColumn<QString>("explicacion");
        const QString noContesta = QStringLiteral(
            "El servidor de base de datos «SRV01» no contesta; revise la red e intente de nuevo "
            "en unos minutos, y si se repite avise a soporte.");
        const QString rechazo = QStringLiteral(
            "El servidor de base de datos «SRV01» rechazó el acceso; pida a soporte que revise el "
            "usuario, la contraseña y sus permisos.");
        QTest::newRow("controlador sin registrar")
            << "0"
            << "[unixODBC][Driver Manager]Can't open lib 'SQL Server' : file not found QODBC: "
               "Unable to connect"
            << TipoFalla::ControladorFaltante
            << "No se pudo cargar el controlador ODBC «SQL Server»; pida a soporte que lo "
               "instale y lo registre con ese nombre.";
        QTest::newRow("usuario rechazado") << "18456"
                                           << "[FreeTDS][SQL Server]Login failed for user 'cajero'."
                                           << TipoFalla::AccesoRechazado << rechazo;
        QTest::newRow("puerto cerrado")
            << "20009"
            << "[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unable "
               "to connect: Adaptive Server is unavailable or does not exist"
            << TipoFalla::SinRespuesta << noContesta;
        QTest::newRow("servidor mudo")
            << "0"
            << "[FreeTDS][SQL Server]Timeout expired" << TipoFalla::SinRespuesta << noContesta;
        QTest::newRow("enlace caído")
            << "0"
            << "[Microsoft][ODBC SQL Server Driver]Communication link failure"
            << TipoFalla::SinRespuesta << noContesta;
        QTest::newRow("texto largo 2019")
            << "2628"
            << "[FreeTDS][SQL Server]String or binary data would be truncated in table "
               "'norv.dbo.Solicitudes_cliente_Nuevo', column 'comentarios'. Truncated value: 'AB'."
            << TipoFalla::TextoLargo
            << "Los datos de texto exceden el largo de la columna «comentarios» de la tabla "
               "norv.dbo.Solicitudes_cliente_Nuevo; acorte el texto e intente de nuevo.";
        QTest::newRow("texto largo anterior")
            << "8152"
            << "[FreeTDS][SQL Server]String or binary data would be truncated."
            << TipoFalla::TextoLargo
            << "Los datos de texto exceden el largo de una columna; acorte el texto e intente de "
               "nuevo.";
        QTest::newRow("víctima de bloqueo")
            << "1205"
            << "[FreeTDS][SQL Server]Transaction (Process ID 52) was deadlocked on lock resources "
               "with another process and has been chosen as the deadlock victim."
            << TipoFalla::Ocupada
            << "La base de datos está ocupada por otra estación; intente de nuevo en unos "
               "segundos.";
        QTest::newRow("bitácora llena")
            << "9002"
            << "[FreeTDS][SQL Server]The transaction log for database 'norv' is full."
            << TipoFalla::DiscoLleno
            << "El disco de la base de datos está lleno; avise a soporte y luego intente de "
               "nuevo.";
        QTest::newRow("base de solo lectura")
            << "3906"
            << "[FreeTDS][SQL Server]Failed to update database \"norv\" because the database is "
               "read-only."
            << TipoFalla::SoloLectura
            << "La base de datos es de solo lectura y no admite cambios; avise a soporte.";
        QTest::newRow("otra")
            << "208"
            << "[FreeTDS][SQL Server]Invalid object name 'no_existe'." << TipoFalla::Otra
            << "SQL Server no pudo ejecutar la instrucción; avise a soporte con este detalle.";
    }
    void textosDeLosControladoresOdbc() {
        QFETCH(QString, nativos);
        QFETCH(QString, texto);
        QFETCH(TipoFalla, tipo);
        QFETCH(QString, explicacion);
        const db::ErrorBD e =
            db::FallaOdbc(nativos, texto, QStringLiteral("SRV01"), QStringLiteral("SQL Server"),
                          QStringLiteral("SQL Server no pudo ejecutar la instrucción"));
        QCOMPARE(e.tipo(), tipo);
        QCOMPARE(e.mensaje(), explicacion + QStringLiteral("\nDetalle: ") + texto);
    }

    void fallasDelDiscoEnElMotorIncrustado_data() {
        QTest::addColumn<int>("codigo");
        QTest::addColumn<int>("sistema");
        QTest::addColumn<TipoFalla>("tipo");
        QTest::addColumn<QString>("empieza");
        QTest::newRow("disco lleno") << SQLITE_FULL << 0 << TipoFalla::DiscoLleno
                                     << "El disco de la base de datos «/datos» está lleno";
        QTest::newRow("escritura sin espacio")
            << SQLITE_IOERR_WRITE << ENOSPC << TipoFalla::DiscoLleno
            << "El disco de la base de datos «/datos» está lleno";
        QTest::newRow("lectura fallida")
            << SQLITE_IOERR_READ << EIO << TipoFalla::EntradaSalida
            << "Falló la lectura o escritura de la base de datos «/datos»";
        QTest::newRow("permiso negado") << SQLITE_CANTOPEN << EACCES << TipoFalla::AccesoRechazado
                                        << "El sistema negó el acceso a «/datos»";
        QTest::newRow("sin archivo")
            << SQLITE_CANTOPEN << ENOENT << TipoFalla::ArchivoDanado
            << "Un archivo de la base de datos en «/datos» falta o está dañado";
        QTest::newRow("dañado") << SQLITE_CORRUPT << 0 << TipoFalla::ArchivoDanado
                                << "Un archivo de la base de datos en «/datos» falta o está dañado";
        QTest::newRow("bloqueada por la misma conexión")
            << SQLITE_LOCKED << 0 << TipoFalla::Ocupada << "La base de datos está ocupada";
    }
    void fallasDelDiscoEnElMotorIncrustado() {
        QFETCH(int, codigo);
        QFETCH(int, sistema);
        QFETCH(TipoFalla, tipo);
        QFETCH(QString, empieza);
        const db::ErrorBD e = db::FallaSqlite(codigo, sistema, QStringLiteral("disk I/O error"),
                                              QStringLiteral("/datos"));
        QCOMPARE(e.tipo(), tipo);
        QVERIFY2(e.mensaje().startsWith(empieza), qPrintable(e.mensaje()));
        QVERIFY2(e.mensaje().endsWith(QStringLiteral("\nDetalle: disk I/O error")),
                 qPrintable(e.mensaje()));
    }
};

QTEST_MAIN(FallasTest)
#include "fallas_test.moc"
