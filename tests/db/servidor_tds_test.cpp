// The SQL Server stand-in in front of the embedded engine, reached as the program reaches the
// company's server: the ODBC engine, Qt's driver and the real FreeTDS. Log-in, texts in code
// page 1252 and in UCS-2, the procedures, the shapes of a row count, SQL Server's errors, a
// dropped link and a restart; and the stand-in as a program.
#include "servidor_tds.h"

#include <sqlite3.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "controlador_odbc.h"
#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "db/motor_odbc.h"

using db::Direccion;
using db::ErrorBD;
using db::TipoParametro;

namespace {

const QString kUpdate = QStringLiteral("UPDATE norv.dbo.Promociones SET Tipo_venta = 1");

// What `f` threw; the test fails when it threw nothing.
ErrorBD Falla(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorBD& e) {
        return e;
    }
    QTest::qFail("no hubo error", __FILE__, __LINE__);
    return ErrorBD(QString());
}

// Qt's own connection, to see the replies as QSqlQuery does.
struct Crudo {
    QString nombre = QStringLiteral("crudo");
    QSqlDatabase bd;
    explicit Crudo(const QString& cadena) {
        bd = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nombre);
        bd.setDatabaseName(db::MotorOdbc::cadenaParaControlador(cadena));
        if (!bd.open()) QTest::qFail(qPrintable(bd.lastError().text()), __FILE__, __LINE__);
    }
    ~Crudo() {
        bd = QSqlDatabase();
        QSqlDatabase::removeDatabase(nombre);
    }
};

}  // namespace

class ServidorTdsPrueba : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> datos_;
    std::unique_ptr<db::MotorIncrustado> directo_;  // the same files, seen directly
    std::unique_ptr<ServidorTds> srv_;

    QString cadena(quint16 puerto = 0, const QString& usuario = QStringLiteral("cajero"),
                   const QString& clave = QStringLiteral("secreto")) const {
        return QStringLiteral(
                   "Driver={SQL Server};Server=127.0.0.1,%1;Database=erp_oxa;Uid=%2;Pwd=%3;")
            .arg(puerto ? puerto : srv_->puerto())
            .arg(usuario, clave);
    }
    std::unique_ptr<db::MotorOdbc> conectar() {
        return std::make_unique<db::MotorOdbc>(cadena(), 5);
    }
    // The first value of a SQLite query on the files, as text; null when there is none.
    QVariant directo(const QString& sql) {
        sqlite3_stmt* st = nullptr;
        QVariant v;
        if (sqlite3_prepare_v2(directo_->manejador(), sql.toUtf8().constData(), -1, &st, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
            v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return v;
    }

  private slots:
    void init() {
        if (!RegistrarFreeTds()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        datos_ = std::make_unique<QTemporaryDir>();
        directo_ = std::make_unique<db::MotorIncrustado>(datos_->path());
        for (const char* p : {"(1, 'UNO')", "(2, 'DOS')"})
            directo_->ejecutar(
                QStringLiteral(
                    "INSERT INTO norv.dbo.Promociones (Promocion, Nombre_promocion) VALUES ") +
                QLatin1String(p));
        srv_ = std::make_unique<ServidorTds>(datos_->path(), QStringLiteral("cajero"),
                                             QStringLiteral("secreto"));
        QVERIFY2(srv_->escuchando(), qPrintable(srv_->falla()));
    }
    void cleanup() {
        srv_.reset();
        directo_.reset();
        datos_.reset();
    }

    void accesoRechazado_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("clave");
        QTest::newRow("contraseña") << "cajero"
                                    << "otra";
        QTest::newRow("usuario") << "intruso"
                                 << "secreto";
    }
    void accesoRechazado() {
        QFETCH(QString, usuario);
        QFETCH(QString, clave);
        const ErrorBD e = Falla([&] { db::MotorOdbc m(cadena(0, usuario, clave), 5); });
        QCOMPARE(e.tipo(), db::TipoFalla::AccesoRechazado);
        QVERIFY2(e.codigoNativo().contains(QLatin1String("18456")), qPrintable(e.codigoNativo()));
        QVERIFY2(
            e.textoMotor().contains(QStringLiteral("Login failed for user '%1'.").arg(usuario)),
            qPrintable(e.textoMotor()));
    }

    void textosDeIdaYVuelta_data() {
        QTest::addColumn<bool>("nvarchar");
        QTest::addColumn<QString>("entra");
        QTest::addColumn<QString>("sale");
        QTest::newRow("varchar") << false << "PEÑA ÁLVAREZ ÜÑ €"
                                 << "PEÑA ÁLVAREZ ÜÑ €";
        QTest::newRow("varchar fuera de 1252") << false << "ŐRSÉG"
                                               << "?RSÉG";
        QTest::newRow("nvarchar") << true << "ŐRSÉG Ñ"
                                  << "ŐRSÉG Ñ";
    }
    void textosDeIdaYVuelta() {
        QFETCH(bool, nvarchar);
        QFETCH(QString, entra);
        QFETCH(QString, sale);
        srv_->ponerNvarchar(nvarchar);
        auto m = conectar();
        QCOMPARE(
            m->ejecutar(
                QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('%1')").arg(entra)),
            1);
        QCOMPARE(
            directo("SELECT count(*) FROM clientes WHERE Nombre_Cliente = '" + entra + "'").toInt(),
            1);
        auto r = m->consultar(QStringLiteral("SELECT Nombre_Cliente AS 'Año del Señor', cliente "
                                             "FROM clientes WHERE Nombre_Cliente = '%1'")
                                  .arg(entra));
        QCOMPARE(r->nombreColumna(0), QStringLiteral("Año del Señor"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toString(), sale);
        QCOMPARE(r->valor(1).typeId(), QMetaType::LongLong);
    }

    void procedimientosConSalidas() {
        auto m = conectar();
        auto otra = conectar();
        QList<db::Parametro> alta = {
            {QStringLiteral("@cSucursal"), TipoParametro::Char, Direccion::Entrada, 7,
             QStringLiteral("1")},
            {QStringLiteral("@cRFC"), TipoParametro::Char, Direccion::Entrada, 20, QString()},
            {QStringLiteral("@cNombreCliente"), TipoParametro::Char, Direccion::Entrada, 80,
             QStringLiteral("PEÑA LOPEZ JUAN")},
            {QStringLiteral("@nCliente"), TipoParametro::Integer, Direccion::Salida, 4, {}}};
        QVERIFY(m->llamar(QStringLiteral("Guarda_Cliente_norv"), alta) == nullptr);
        const qint64 cliente = alta[3].valor.toLongLong();
        QVERIFY(cliente > 0);
        QCOMPARE(directo(QStringLiteral("SELECT Nombre_Cliente FROM clientes WHERE cliente = %1")
                             .arg(cliente)),
                 QVariant(QStringLiteral("PEÑA LOPEZ JUAN")));
        // The identity inserted last is the connection's own.
        QList<db::Parametro> folio = {
            {QStringLiteral("@Nfolio"), TipoParametro::Integer, Direccion::Salida, 8, {}}};
        m->llamar(QStringLiteral("REGRESA_FOLIO"), folio);
        QCOMPARE(folio[0].valor, QVariant(cliente));
        otra->llamar(QStringLiteral("REGRESA_FOLIO"), folio);
        QVERIFY(folio[0].valor.isNull());

        QList<db::Parametro> nombre = {
            {QStringLiteral("@nCliente"), TipoParametro::Integer, Direccion::Entrada, 4, cliente},
            {QStringLiteral("@cNombres"), TipoParametro::Char, Direccion::Entrada, 50,
             QStringLiteral("JUAN")},
            {QStringLiteral("@cPaterno"), TipoParametro::Char, Direccion::Entrada, 50,
             QStringLiteral("PEÑA")},
            {QStringLiteral("@cMaterno"), TipoParametro::Char, Direccion::Entrada, 50,
             QStringLiteral("LOPEZ")},
            {QStringLiteral("@nEmpresa"), TipoParametro::Integer, Direccion::Entrada, 4, 0},
            {QStringLiteral("@dNacimiento"), TipoParametro::DBTimeStamp, Direccion::Entrada, 8,
             QStringLiteral("1980/02/03")}};
        QVERIFY(m->llamar(QStringLiteral("norv.dbo.Cliente_Compra_Facil"), nombre) == nullptr);
        QCOMPARE(directo(QStringLiteral(
                             "SELECT Paterno || '|' || Nacimiento FROM norv.Clientes_Compra_Facil "
                             "WHERE Cliente = %1")
                             .arg(cliente)),
                 QVariant(QStringLiteral("PEÑA|1980-02-03 00:00:00.000")));

        QList<db::Parametro> historial = {{QStringLiteral("@cApellidos"), TipoParametro::Char,
                                           Direccion::Entrada, 60, QStringLiteral("PEÑA LOPEZ")},
                                          {QStringLiteral("@cNombres"), TipoParametro::Char,
                                           Direccion::Entrada, 60, QStringLiteral("JUAN")}};
        auto r = m->llamar(QStringLiteral("NORV.dbo.Rep_Historial_Norv_Cliente"), historial);
        QVERIFY(r);
        QCOMPARE(r->columnas(), 5);
        QCOMPARE(r->nombreColumna(4), QStringLiteral("Indeseable"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0), QVariant(qint64(0)));
        QCOMPARE(r->valor(2), QVariant(false));
        QVERIFY(!r->siguiente());
    }

    // A DONE with its count, without one (NOCOUNT), a trigger's DONEINPROC first: what Qt
    // reports for each, and the statement's own count that SELECT @@ROWCOUNT gives in all.
    void formasDeUnaCuenta_data() {
        QTest::addColumn<bool>("nocount");
        QTest::addColumn<int>("disparador");
        QTest::addColumn<QString>("antes");  // sent first in the session
        QTest::addColumn<int>("afectadas");
        QTest::newRow("con cuenta") << false << 0 << "" << 2;
        QTest::newRow("NOCOUNT") << true << 0 << "" << -1;
        QTest::newRow("cuenta de un disparador") << false << 4 << "" << 4;
        QTest::newRow("NOCOUNT quitado en la sesión") << true << 0 << "SET NOCOUNT OFF" << 2;
    }
    void formasDeUnaCuenta() {
        QFETCH(bool, nocount);
        QFETCH(int, disparador);
        QFETCH(QString, antes);
        QFETCH(int, afectadas);
        srv_->ponerNocount(nocount);
        srv_->ponerConteoDisparador(disparador);
        Crudo c(cadena());
        QSqlQuery q(c.bd);
        q.setForwardOnly(true);
        if (!antes.isEmpty()) QVERIFY(q.exec(antes));
        QVERIFY(q.exec(kUpdate));
        QCOMPARE(q.numRowsAffected(), afectadas);
        QVERIFY(q.exec(kUpdate + QStringLiteral("\nSELECT @@ROWCOUNT")));
        while (!q.isSelect() && q.nextResult()) {
        }
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
    }

    // The transaction statements in batches, as a script or another tool sends them.
    void transaccionesEnLotes_data() {
        QTest::addColumn<QStringList>("lotes");
        QTest::addColumn<int>("quedan");  // rows of promotion 9 afterwards
        const QString alta =
            QStringLiteral("INSERT INTO norv.dbo.Promociones (Promocion) VALUES (9)");
        QTest::newRow("BEGIN TRAN, ROLLBACK") << QStringList{"BEGIN TRAN", alta, "ROLLBACK"} << 0;
        QTest::newRow("en un lote, COMMIT")
            << QStringList{"BEGIN TRANSACTION\n" + alta + "\nCOMMIT TRANSACTION"} << 1;
        QTest::newRow("implícita, IF @@TRANCOUNT > 0 ROLLBACK")
            << QStringList{"SET IMPLICIT_TRANSACTIONS ON", alta, "IF @@TRANCOUNT > 0 ROLLBACK"}
            << 0;
        QTest::newRow("implícita, COMMIT")
            << QStringList{"SET IMPLICIT_TRANSACTIONS ON", alta, "COMMIT TRAN"} << 1;
    }
    void transaccionesEnLotes() {
        QFETCH(QStringList, lotes);
        QFETCH(int, quedan);
        Crudo c(cadena());
        QSqlQuery q(c.bd);
        q.setForwardOnly(true);
        for (const QString& l : lotes) QVERIFY2(q.exec(l), qPrintable(q.lastError().text()));
        QVERIFY(q.exec(QStringLiteral("SELECT @@TRANCOUNT")) && q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QCOMPARE(
            directo(QStringLiteral("SELECT count(*) FROM norv.Promociones WHERE Promocion = 9")),
            QVariant(QString::number(quedan)));
    }

    void erroresDelServidor_data() {
        QTest::addColumn<QString>("antes");  // SQLite, on the files directly
        QTest::addColumn<QString>("sentencia");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("texto");
        const QString largo(61, QLatin1Char('A'));
        QTest::newRow("2627")
            << ""
            << "INSERT INTO norv.dbo.Promociones (Promocion, Nombre_promocion) VALUES (1, 'X')"
            << 2627
            << "Violation of PRIMARY KEY constraint 'PK_Promociones'. Cannot insert duplicate key "
               "in object 'dbo.Promociones'. The duplicate key value is (1).";
        QTest::newRow("2601")
            << "CREATE UNIQUE INDEX norv.ux_nombre ON Promociones (Nombre_promocion)"
            << "INSERT INTO norv.dbo.Promociones (Promocion, Nombre_promocion) VALUES (3, 'UNO')"
            << 2601
            << "Cannot insert duplicate key row in object 'dbo.Promociones' with unique index "
               "'ux_nombre'. The duplicate key value is (UNO).";
        QTest::newRow("2628")
            << ""
            << "UPDATE norv.dbo.Promociones SET Nombre_promocion = '" + largo + "'" << 2628
            << "String or binary data would be truncated in table 'norv.dbo.Promociones', column "
               "'Nombre_promocion'. Truncated value: '" +
                   largo.left(60) + "'.";
        QTest::newRow("8152") << "truncado antiguo"
                              << "UPDATE norv.dbo.Promociones SET Nombre_promocion = '" + largo +
                                     "'"
                              << 8152 << "String or binary data would be truncated.";
        QTest::newRow("547")
            << "CREATE TRIGGER norv.ck_prueba BEFORE INSERT ON Promociones WHEN NEW.Promocion < 0 "
               "BEGIN SELECT RAISE(ABORT, 'CHECK constraint failed: CK_Prueba_n'); END"
            << "INSERT INTO norv.dbo.Promociones (Promocion) VALUES (-1)" << 547
            << "The INSERT statement conflicted with the CHECK constraint \"CK_Prueba_n\". The "
               "conflict occurred in database \"norv\", table \"dbo.Promociones\".";
        QTest::newRow("515")
            << ""
            << "INSERT INTO clientes (Nombre_Cliente, es_Indeseable) VALUES ('X', NULL)" << 515
            << "Cannot insert the value NULL into column 'es_Indeseable', table "
               "'erp_oxa.dbo.clientes'; column does not allow nulls. INSERT fails.";
        QTest::newRow("208") << ""
                             << "SELECT * FROM norv.dbo.NoExiste" << 208
                             << "Invalid object name 'norv.dbo.NoExiste'.";
        QTest::newRow("102") << ""
                             << "SELEC 1" << 102 << "Incorrect syntax near 'SELEC'.";
        QTest::newRow("156") << ""
                             << "SELECT * FROM clientes WHERE" << 156
                             << "Incorrect syntax near the keyword 'WHERE'.";
        QTest::newRow("402")
            << "comentarios texto"
            << "SELECT solicitud FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE comentarios = 'X'"
            << 402 << "The data types text and varchar are incompatible in the equal to operator.";
        QTest::newRow("402 <>")
            << "comentarios texto"
            << "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET comentarios = 'Y' WHERE comentarios "
               "<> 'X'"
            << 402
            << "The data types text and varchar are incompatible in the not equal to operator.";
    }
    void erroresDelServidor() {
        QFETCH(QString, antes);
        QFETCH(QString, sentencia);
        QFETCH(int, numero);
        QFETCH(QString, texto);
        srv_->ponerTruncadoAntiguo(antes == QLatin1String("truncado antiguo"));
        srv_->ponerComentariosTexto(antes == QLatin1String("comentarios texto"));
        if (antes.startsWith(QLatin1String("CREATE")))
            QCOMPARE(sqlite3_exec(directo_->manejador(), antes.toUtf8().constData(), nullptr,
                                  nullptr, nullptr),
                     SQLITE_OK);
        auto m = conectar();
        const bool filas = sentencia.startsWith(QLatin1String("SELECT"));
        const ErrorBD e =
            Falla([&] { filas ? (void)m->consultar(sentencia) : (void)m->ejecutar(sentencia); });
        QVERIFY2(e.codigoNativo().contains(QString::number(numero)), qPrintable(e.codigoNativo()));
        QVERIFY2(e.textoMotor().contains(texto), qPrintable(e.textoMotor()));
        if (filas) return;
        // With the count asked after it, the statement's error still fails the batch.
        Crudo c(cadena());
        QSqlQuery q(c.bd);
        q.setForwardOnly(true);
        QVERIFY(!q.exec(sentencia + QStringLiteral("\nSELECT @@ROWCOUNT")));
        QCOMPARE(q.lastError().nativeErrorCode(), QString::number(numero));
    }

    void comentariosDeTextoSinComparar() {
        srv_->ponerComentariosTexto(true);
        auto m = conectar();
        for (const char* donde : {"comentarios LIKE 'X%'", "comentarios IS NULL",
                                  "CAST(comentarios AS varchar(500)) = 'X'",
                                  "CAST(comentarios AS nvarchar(max)) <> 'X'"})
            QVERIFY(m->consultar(QStringLiteral("SELECT solicitud, comentarios FROM "
                                                "norv.dbo.Solicitudes_cliente_Nuevo WHERE ") +
                                 QLatin1String(donde)));
    }

    void victimaDeInterbloqueo() {
        auto m = conectar();
        // Another connection holds the write lock longer than the wait.
        srv_->ponerLimiteEspera(100);
        directo_->iniciarTransaccion();
        const ErrorBD e = Falla([&] { m->ejecutar(kUpdate); });
        directo_->deshacerTransaccion();
        QCOMPARE(e.tipo(), db::TipoFalla::Ocupada);
        QCOMPARE(e.codigoNativo(), QStringLiteral("1205"));
        QVERIFY2(e.textoMotor().contains(QLatin1String("was deadlocked on lock resources")),
                 qPrintable(e.textoMotor()));
        // Made up for the third UPDATE: the first two run.
        srv_->fallar(ServidorTds::laEnesima(3, ServidorTds::conTexto(QStringLiteral("UPDATE"))),
                     1205, 13, QStringLiteral("Transaction (Process ID 99) was deadlocked."));
        QVERIFY(m->ejecutar(kUpdate) >= 0);
        QVERIFY(m->ejecutar(kUpdate) >= 0);
        QCOMPARE(Falla([&] { m->ejecutar(kUpdate); }).codigoNativo(), QStringLiteral("1205"));
        QVERIFY(m->ejecutar(kUpdate) >= 0);
    }

    void enlaceCortadoEnUnaTransaccion_data() {
        QTest::addColumn<CorteTds>("cuando");
        QTest::newRow("antes de correr") << CorteTds::AntesDeCorrer;
        QTest::newRow("antes de responder") << CorteTds::AntesDeResponder;
    }
    void enlaceCortadoEnUnaTransaccion() {
        QFETCH(CorteTds, cuando);
        auto m = conectar();
        srv_->cortar(
            [](const PeticionTds& p) {
                return p.enTransaccion && p.texto.startsWith(QLatin1String("INSERT"));
            },
            cuando);
        m->iniciarTransaccion();
        const ErrorBD e = Falla([&] {
            m->ejecutar(QStringLiteral("INSERT INTO norv.dbo.Promociones (Promocion) VALUES (7)"));
        });
        qInfo("enlace cortado: nativo «%s», texto «%s»", qPrintable(e.codigoNativo()),
              qPrintable(e.textoMotor()));
        QCOMPARE(e.tipo(), db::TipoFalla::ConexionPerdida);
        QVERIFY2(e.mensaje().startsWith(QStringLiteral("Se perdió la conexión con el servidor")),
                 qPrintable(e.mensaje()));
        QCOMPARE(
            directo(QStringLiteral("SELECT count(*) FROM norv.Promociones WHERE Promocion = 7"))
                .toInt(),
            0);
        // Inside the lost transaction nothing more runs; undoing it does not throw, and the
        // next action connects again on its own.
        QCOMPARE(Falla([&] { m->ejecutar(QStringLiteral("SELECT 1")); }).tipo(),
                 db::TipoFalla::ConexionPerdida);
        m->deshacerTransaccion();
        srv_->quitarReglas();
        QCOMPARE(
            m->ejecutar(QStringLiteral("INSERT INTO norv.dbo.Promociones (Promocion) VALUES (7)")),
            1LL);
        QCOMPARE(
            directo(QStringLiteral("SELECT count(*) FROM norv.Promociones WHERE Promocion = 7"))
                .toInt(),
            1);
    }

    void detenerYReanudar() {
        auto m = conectar();
        m->iniciarTransaccion();
        m->ejecutar(QStringLiteral("INSERT INTO norv.dbo.Promociones (Promocion) VALUES (8)"));
        srv_->cortarConexiones();
        QCOMPARE(directo(QStringLiteral("SELECT count(*) FROM norv.Promociones")).toInt(), 2);
        srv_->detener();
        QCOMPARE(Falla([&] { conectar(); }).tipo(), db::TipoFalla::SinRespuesta);
        QVERIFY(srv_->reanudar());
        auto r = conectar()->consultar(QStringLiteral("SELECT count(*) FROM norv.dbo.Promociones"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 2);
    }

    void comoPrograma() {
        const QString programa =
            QCoreApplication::applicationDirPath() + QStringLiteral("/servidor_tds");
        QProcess mal;
        mal.start(programa, {QStringLiteral("--puerto")});
        QVERIFY(mal.waitForFinished());
        QCOMPARE(mal.exitCode(), 2);
        QVERIFY(mal.readAllStandardError().startsWith("Uso: servidor_tds --puerto N"));

        QProcess p;
        p.start(programa,
                {QStringLiteral("--puerto"), QStringLiteral("0"), QStringLiteral("--usuario"),
                 QStringLiteral("cajero"), QStringLiteral("--contrasena"),
                 QStringLiteral("secreto"), datos_->path()});
        QVERIFY(p.waitForReadyRead());
        const QRegularExpressionMatch linea =
            QRegularExpression(QStringLiteral("^escuchando en 127\\.0\\.0\\.1:(\\d+)\n$"))
                .match(QString::fromUtf8(p.readLine()));
        QVERIFY(linea.hasMatch());
        {
            db::MotorOdbc m(cadena(quint16(linea.captured(1).toUInt())), 5);
            auto r = m.consultar(QStringLiteral(
                "SELECT Nombre_promocion FROM norv.dbo.Promociones WHERE Promocion = 2"));
            QVERIFY(r->siguiente());
            QCOMPARE(r->valor(0), QVariant(QStringLiteral("DOS")));
        }
        p.terminate();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }
};

QTEST_MAIN(ServidorTdsPrueba)
#include "servidor_tds_test.moc"
