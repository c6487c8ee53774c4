// The ODBC engine on the road to SQL Server: unixODBC finding FreeTDS under the name the
// connection string uses, a server that refuses, a server that never answers, an unknown
// driver, and how the engine shapes what it hands to the driver.
#include "db/motor_odbc.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "controlador_odbc.h"
#include "db/conexion.h"
#include "db/error_bd.h"

using db::Direccion;
using db::ErrorBD;
using db::MotorOdbc;
using db::Parametro;
using db::TipoParametro;

namespace {

// A connection attempt that never returns cannot be stopped from the thread that is blocked in
// it: this watchdog ends the test run with a clear message instead of waiting for ctest.
class Vigia {
  public:
    Vigia(int segundos, const char* que)
        : hilo_([this, segundos, que] {
              std::unique_lock<std::mutex> l(m_);
              if (!cv_.wait_for(l, std::chrono::seconds(segundos), [this] { return listo_; }))
                  qFatal("%s: sin respuesta tras %d s, la conexión se colgó", que, segundos);
          }) {}
    ~Vigia() {
        {
            std::lock_guard<std::mutex> l(m_);
            listo_ = true;
        }
        cv_.notify_all();
        hilo_.join();
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    bool listo_ = false;
    std::thread hilo_;
};

// A port on which nothing listens: taken from the system and given back at once.
quint16 puertoLibre() {
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0)) return 1;
    const quint16 p = s.serverPort();
    s.close();
    return p;
}

QString cadena(const QString& servidor) {
    return QStringLiteral("Driver={SQL Server};Server=%1;Database=erp_oxa;Uid=cajero;Pwd=secreto;")
        .arg(servidor);
}

QStringList conexionesDelMotor() {
    QStringList r;
    for (const QString& n : QSqlDatabase::connectionNames())
        if (n.startsWith(QLatin1String("solicitudes_odbc_"))) r << n;
    return r;
}

Parametro parametro(TipoParametro tipo, int tamano, const QVariant& valor) {
    return Parametro{QStringLiteral("@p"), tipo, Direccion::Entrada, tamano, valor};
}

}  // namespace

class MotorOdbcPrueba : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir ini_;
    QString tds_;

    // Connects and returns the error text; fails the test when it connects.
    QString fallaAlConectar(const QString& cadenaConexion, int segundos, qint64* ms = nullptr) {
        Vigia vigia(60, "MotorOdbc");
        QElapsedTimer reloj;
        reloj.start();
        try {
            MotorOdbc motor(cadenaConexion, segundos);
        } catch (const ErrorBD& e) {
            if (ms) *ms = reloj.elapsed();
            return e.mensaje();
        }
        return QStringLiteral("<se conectó>");
    }

  private slots:
    void initTestCase() {
        QVERIFY(ini_.isValid());
        tds_ = buscarControlador(QStringLiteral("libtdsodbc.so"));
        QFile f(ini_.filePath(QStringLiteral("odbcinst.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write(
            QStringLiteral("[SQL Server]\nDescription=FreeTDS\nDriver=%1\n").arg(tds_).toUtf8());
        f.close();
        // unixODBC looks for its driver list here instead of /etc, so the test needs no set-up
        // of the machine and is not fooled by one.
        qputenv("ODBCSYSINI", QFile::encodeName(ini_.path()));
        qputenv("ODBCINSTINI", "odbcinst.ini");
        // Either of these would override what the engine asks of FreeTDS.
        qunsetenv("TDSVER");
        qunsetenv("TDSPORT");
    }

    void versionYPuertoSeAgreganSinTocarLaCadena() {
        const QString c = cadena(QStringLiteral("srv01"));
        const QString r = MotorOdbc::cadenaParaControlador(c);
        QVERIFY2(r.startsWith(c), qPrintable(r));
        QCOMPARE(r.mid(c.size()), QStringLiteral("TDS_Version=7.4;Port=1433;"));
    }

    void sinPuntoYComaFinalSeSeparaBien() {
        QCOMPARE(
            MotorOdbc::cadenaParaControlador(QStringLiteral("Driver={SQL Server};Server=srv01")),
            QStringLiteral("Driver={SQL Server};Server=srv01;TDS_Version=7.4;Port=1433;"));
    }

    void loQueLaCadenaYaDiceSeRespeta() {
        const QString conTodo =
            cadena(QStringLiteral("srv01,1500")) + QStringLiteral("tds_version=7.1;");
        QCOMPARE(MotorOdbc::cadenaParaControlador(conTodo), conTodo);
        const QString instancia = cadena(QStringLiteral("srv01\\EMPRESA"));
        QCOMPARE(MotorOdbc::cadenaParaControlador(instancia),
                 instancia + QStringLiteral("TDS_Version=7.4;"));
        const QString conPuerto = cadena(QStringLiteral("srv01")) + QStringLiteral("PORT=1500;");
        QCOMPARE(MotorOdbc::cadenaParaControlador(conPuerto),
                 conPuerto + QStringLiteral("TDS_Version=7.4;"));
    }

    void textoFijoSeRellenaOCorta() {
        QCOMPARE(MotorOdbc::valorDeEntrada(parametro(TipoParametro::Char, 7, QStringLiteral("12"))),
                 QVariant(QStringLiteral("12     ")));
        QCOMPARE(MotorOdbc::valorDeEntrada(
                     parametro(TipoParametro::Char, 7, QStringLiteral("ABCDEFGHIJ"))),
                 QVariant(QStringLiteral("ABCDEFG")));
        QCOMPARE(MotorOdbc::valorDeEntrada(parametro(TipoParametro::Char, 20, QString())),
                 QVariant(QString(20, QLatin1Char(' '))));
        const QVariant nulo =
            MotorOdbc::valorDeEntrada(parametro(TipoParametro::Char, 7, QVariant()));
        QVERIFY(nulo.isNull());
        QCOMPARE(nulo.typeId(), QMetaType::QString);
    }

    void enterosSeRedondeanYSeValidan() {
        const QVariant n =
            MotorOdbc::valorDeEntrada(parametro(TipoParametro::Integer, 4, QVariant(12345.0)));
        QCOMPARE(n.typeId(), QMetaType::Int);
        QCOMPARE(n.toInt(), 12345);
        QCOMPARE(
            MotorOdbc::valorDeEntrada(parametro(TipoParametro::Integer, 4, QStringLiteral(" 7 ")))
                .toInt(),
            7);
        QCOMPARE(
            MotorOdbc::valorDeEntrada(parametro(TipoParametro::Integer, 4, QVariant(2.6))).toInt(),
            3);
        const QVariant nulo =
            MotorOdbc::valorDeEntrada(parametro(TipoParametro::Integer, 4, QVariant()));
        QVERIFY(nulo.isNull());
        QCOMPARE(nulo.typeId(), QMetaType::Int);
        QVERIFY_THROWS_EXCEPTION(ErrorBD, MotorOdbc::valorDeEntrada(parametro(
                                              TipoParametro::Integer, 4, QStringLiteral("siete"))));
        QVERIFY_THROWS_EXCEPTION(ErrorBD, MotorOdbc::valorDeEntrada(parametro(
                                              TipoParametro::Integer, 4, QVariant(5000000000.0))));
    }

    void fechaDeTextoComoLaManda() {
        const QVariant d = MotorOdbc::valorDeEntrada(
            parametro(TipoParametro::DBTimeStamp, 8, QStringLiteral("1900/01/01")));
        QCOMPARE(d.typeId(), QMetaType::QDateTime);
        QCOMPARE(d.toDateTime().date(), QDate(1900, 1, 1));
        QCOMPARE(d.toDateTime().time(), QTime(0, 0));
        const QVariant dia = MotorOdbc::valorDeEntrada(
            parametro(TipoParametro::DBTimeStamp, 8, QVariant(QDate(2024, 2, 29))));
        QCOMPARE(dia.toDateTime().date(), QDate(2024, 2, 29));
        QVERIFY_THROWS_EXCEPTION(
            ErrorBD, MotorOdbc::valorDeEntrada(
                         parametro(TipoParametro::DBTimeStamp, 8, QStringLiteral("ayer"))));
    }

    void llamadaEnSintaxisOdbc() {
        QCOMPARE(MotorOdbc::textoLlamadaOdbc(QStringLiteral("Guarda_Cliente_norv"), 4),
                 QStringLiteral("{CALL Guarda_Cliente_norv(?,?,?,?)}"));
        QCOMPARE(MotorOdbc::textoLlamadaOdbc(QStringLiteral("norv.dbo.X"), 0),
                 QStringLiteral("{CALL norv.dbo.X}"));
    }

    void servidorQueRechazaEsErrorEnEspanolConElTextoDelControlador() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        const QString servidor = QStringLiteral("127.0.0.1,%1").arg(puertoLibre());
        const QString m = fallaAlConectar(cadena(servidor), 3);
        QVERIFY2(
            m.startsWith(
                QStringLiteral("El servidor de base de datos «%1» no contesta; ").arg(servidor)),
            qPrintable(m));
        // FreeTDS answered: unixODBC found it under the name the string uses.
        QVERIFY2(m.contains(QLatin1String("[FreeTDS]")), qPrintable(m));
        QVERIFY2(!m.contains(QLatin1String("secreto")), qPrintable(m));
        QVERIFY(conexionesDelMotor().isEmpty());
    }

    void servidorQueNoContestaEsErrorAlVencerLaEspera() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        // The kernel completes the handshake without accept(): the driver gets a connection and
        // then silence, as from a server that hangs.
        QTcpServer mudo;
        QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
        qint64 ms = -1;
        const QString m =
            fallaAlConectar(cadena(QStringLiteral("127.0.0.1,%1").arg(mudo.serverPort())), 3, &ms);
        QVERIFY2(m.startsWith(QStringLiteral("El servidor de base de datos «")) &&
                     m.contains(QStringLiteral("» no contesta; ")),
                 qPrintable(m));
        QVERIFY2(m.contains(QLatin1String("[FreeTDS]")), qPrintable(m));
        QVERIFY2(m.contains(QLatin1String("Timeout"), Qt::CaseInsensitive), qPrintable(m));
        QVERIFY2(ms < 60000, qPrintable(QString::number(ms)));
        // The silence was the server's: the driver did reach the socket.
        QVERIFY(mudo.waitForNewConnection(5000));
        QVERIFY(conexionesDelMotor().isEmpty());
    }

    void controladorDesconocidoEsError() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        const QString m = fallaAlConectar(
            QStringLiteral("Driver={Controlador Inexistente};Server=127.0.0.1,1;Database=erp_oxa;"
                           "Uid=cajero;Pwd=secreto;"),
            3);
        QVERIFY2(m.startsWith(QStringLiteral(
                     "No se pudo cargar el controlador ODBC «Controlador Inexistente»; ")),
                 qPrintable(m));
        QVERIFY2(!m.contains(QLatin1String("[FreeTDS]")), qPrintable(m));
        QVERIFY(conexionesDelMotor().isEmpty());
    }

    void conexionAbrirLlevaLaFallaHastaQuienLlama() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        Vigia vigia(60, "Conexion::abrir");
        db::Conexion conexion;
        const QString servidor = QStringLiteral("127.0.0.1,%1").arg(puertoLibre());
        QString m;
        try {
            conexion.abrir(cadena(servidor));
        } catch (const ErrorBD& e) {
            m = e.mensaje();
        }
        QVERIFY2(m.contains(servidor) && m.contains(QLatin1String("[FreeTDS]")), qPrintable(m));
        QVERIFY(!conexion.abierta());
    }

    void conexionAbrirConServidorMudoUsaLaEsperaPorOmision() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        QTcpServer mudo;
        QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
        Vigia vigia(60, "Conexion::abrir");
        db::Conexion conexion;
        QString m;
        try {
            conexion.abrir(cadena(QStringLiteral("127.0.0.1,%1").arg(mudo.serverPort())));
        } catch (const ErrorBD& e) {
            m = e.mensaje();
        }
        QVERIFY2(m.contains(QLatin1String("Timeout"), Qt::CaseInsensitive), qPrintable(m));
        QVERIFY(!conexion.abierta());
    }
};

QTEST_MAIN(MotorOdbcPrueba)
#include "motor_odbc_test.moc"
