// The ODBC engine against the stand-in for SQL Server that speaks TDS 7.4 on a local port: the
// real unixODBC, FreeTDS and Qt driver carry the statements and procedure calls, and the
// stand-in records what reached the wire. Here its replies are scripted byte by byte, to pin
// down how the program reads the server's types, NULLs, outputs and pending results.
#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

#include "controlador_odbc.h"
#include "db/comando.h"
#include "db/conexion.h"
#include "db/error_bd.h"
#include "db/motor_odbc.h"
#include "db/recordset.h"
#include "servidor_tds.h"

using db::Direccion;
using db::ErrorBD;
using db::MotorOdbc;
using db::Parametro;
using db::TipoParametro;
using namespace tds;

namespace {

using Columna = ColumnaTds;

QByteArray valorRetornoEntero(quint16 ordinal, const QString& nombre, const QVariant& v) {
    return ValorRetorno(ordinal, nombre, {nombre, kIntN, 4}, v);
}

QByteArray errorServidor(qint32 numero, const QString& texto) {
    return Mensaje(numero, 1, 16, texto, QStringLiteral("SRV"));
}

}  // namespace

class MotorOdbcTdsPrueba : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir datos_;
    std::unique_ptr<ServidorTds> srv_;

    // The stand-in answers `guion` where it gives bytes, through its engine otherwise.
    ServidorTds& servidor(std::function<QByteArray(const PeticionTds&)> guion) {
        srv_->guion(std::move(guion));
        return *srv_;
    }
    QString cadena() const {
        return QStringLiteral(
                   "Driver={SQL Server};Server=127.0.0.1,%1;Database=erp_oxa;Uid=cajero;"
                   "Pwd=secreto;")
            .arg(srv_->puerto());
    }

  private slots:
    void init() {
        if (!RegistrarFreeTds()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
        srv_ = std::make_unique<ServidorTds>(datos_.path(), QStringLiteral("cajero"),
                                             QStringLiteral("secreto"));
        QVERIFY2(srv_->escuchando(), qPrintable(srv_->falla()));
    }
    void cleanup() { srv_.reset(); }

    void consultaConTiposDelServidor() {
        const QList<Columna> cols = {
            {QStringLiteral("folio"), kIntN, 4},       {QStringLiteral("nombre"), kNVarChar, 40},
            {QStringLiteral("clave"), kNChar, 7},      {QStringLiteral("activo"), kBitN, 1},
            {QStringLiteral("fecha"), kFechaHoraN, 8}, {QStringLiteral("importe"), kMoneyN, 8},
            {QStringLiteral("tasa"), kFltN, 8}};
        ServidorTds& srv = servidor([&](const PeticionTds& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("SELECT folio"))) return {};
            return Metadatos(cols) +
                   Fila(cols, {101, QStringLiteral("PEÑA O'HIGGINS"), QStringLiteral("12"), true,
                               QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)), 1500.25, 0.16}) +
                   Fila(cols, {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                               QVariant(), QVariant()}) +
                   Hecho(kHecho, kHechoCuenta, 2);
        });
        MotorOdbc m(cadena(), 5);
        const QString sql =
            QStringLiteral("SELECT folio, nombre FROM norv.dbo.Solicitudes WHERE a='ñ'");
        auto r = m.consultar(sql);
        QCOMPARE(srv.peticiones().last().texto, sql);  // verbatim, accents included
        QCOMPARE(r->columnas(), 7);
        QCOMPARE(r->nombreColumna(1), QStringLiteral("nombre"));
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0), QVariant(qint64(101)));
        QCOMPARE(r->valor(1), QVariant(QStringLiteral("PEÑA O'HIGGINS")));
        QCOMPARE(r->valor(2), QVariant(QStringLiteral("12     ")));
        QCOMPARE(r->valor(3), QVariant(true));
        QCOMPARE(r->valor(4).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)));
        QCOMPARE(r->valor(5).typeId(), QMetaType::Double);
        QCOMPARE(r->valor(5).toDouble(), 1500.25);
        QCOMPARE(r->valor(6).toDouble(), 0.16);
        QVERIFY(r->siguiente());
        for (int i = 0; i < 7; ++i) QVERIFY2(r->valor(i).isNull(), qPrintable(QString::number(i)));
        QVERIFY(!r->siguiente());
    }

    void errorDelServidorLlegaConSuTexto() {
        servidor([](const PeticionTds& p) -> QByteArray {
            if (!p.texto.contains(QLatin1String("no_existe"))) return {};
            return errorServidor(208, QStringLiteral("Invalid object name 'no_existe'.")) +
                   Hecho(kHecho, kHechoError, 0);
        });
        MotorOdbc m(cadena(), 5);
        try {
            m.ejecutar(QStringLiteral("DELETE FROM no_existe"));
            QFAIL("el error del servidor no llegó");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.mensaje().startsWith(
                         QStringLiteral("SQL Server no pudo ejecutar la instrucción; ")),
                     qPrintable(e.mensaje()));
            QVERIFY2(e.mensaje().contains(QLatin1String("Invalid object name 'no_existe'.")),
                     qPrintable(e.mensaje()));
        }
    }

    void ejecutarDevuelveLaCuentaDelServidor() {
        servidor([](const PeticionTds& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("UPDATE"))) return {};
            return Hecho(kHecho, kHechoCuenta, 3);
        });
        MotorOdbc m(cadena(), 5);
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET x=1")),
                 3);
    }

    void procedimientoConSalidaEnteraComoLoLlamaElGuardado() {
        ServidorTds& srv = servidor([](const PeticionTds& p) -> QByteArray {
            if (p.texto != QLatin1String("Guarda_Cliente_norv")) return {};
            // Without SET NOCOUNT ON the procedure's INSERT reports its count first.
            return Hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 1) + EstadoRetorno(0) +
                   valorRetornoEntero(4, QStringLiteral("@nCliente"), 4521) +
                   Hecho(kHechoProc, 0, 0);
        });
        db::Conexion conexion;
        conexion.abrir(std::make_unique<MotorOdbc>(cadena(), 5));
        db::Comando c(conexion, QStringLiteral("Guarda_Cliente_norv"));
        c.agregarParametro(QStringLiteral("@cSucursal"), TipoParametro::Char, Direccion::Entrada, 7,
                           QStringLiteral("12"));
        c.agregarParametro(QStringLiteral("@cRFC"), TipoParametro::Char, Direccion::Entrada, 20,
                           QString());
        c.agregarParametro(QStringLiteral("@cNombreCliente"), TipoParametro::Char,
                           Direccion::Entrada, 80, QStringLiteral("PEÑA LOPEZ JUAN"));
        c.agregarParametro(QStringLiteral("@nCliente"), TipoParametro::Integer, Direccion::Salida,
                           4);
        c.ejecutar();
        QCOMPARE(c.parametro(QStringLiteral("@NCLIENTE")), QVariant(qint64(4521)));

        const QList<PeticionTds> llamadas = srv.llamadas();
        QCOMPARE(llamadas.size(), 1);
        const PeticionTds& p = llamadas.first();
        QVERIFY2(p.falla.isEmpty(), qPrintable(p.falla));
        QCOMPARE(p.texto, QStringLiteral("Guarda_Cliente_norv"));
        QCOMPARE(p.parametros.size(), 4);
        QCOMPARE(p.parametros[0].valor, QVariant(QStringLiteral("12     ")));
        QCOMPARE(p.parametros[1].valor, QVariant(QString(20, QLatin1Char(' '))));
        QCOMPARE(p.parametros[2].valor.toString().size(), 80);
        QCOMPARE(p.parametros[2].valor.toString().trimmed(), QStringLiteral("PEÑA LOPEZ JUAN"));
        QCOMPARE(p.parametros[3].estado & 0x01, 0x01);  // sent as an output
        QCOMPARE(p.parametros[3].tipo, kIntN);
    }

    void salidaNulaSeLeeNula() {
        servidor([](const PeticionTds& p) -> QByteArray {
            if (p.texto != QLatin1String("REGRESA_FOLIO")) return {};
            return EstadoRetorno(0) + valorRetornoEntero(1, QStringLiteral("@Nfolio"), QVariant()) +
                   Hecho(kHechoProc, 0, 0);
        });
        MotorOdbc m(cadena(), 5);
        QList<Parametro> ps = {Parametro{QStringLiteral("@Nfolio"), TipoParametro::Integer,
                                         Direccion::Salida, 8, QVariant(77)}};
        QVERIFY(m.llamar(QStringLiteral("REGRESA_FOLIO"), ps) == nullptr);
        QVERIFY2(ps[0].valor.isNull(), qPrintable(ps[0].valor.toString()));
    }

    void fechaYEnterosComoLosMandaElAlta() {
        ServidorTds& srv = servidor([](const PeticionTds& p) -> QByteArray {
            if (p.clase != PeticionTds::Llamada || p.texto.startsWith(QLatin1Char('#'))) return {};
            return EstadoRetorno(0) + Hecho(kHechoProc, 0, 0);
        });
        MotorOdbc m(cadena(), 5);
        QList<Parametro> ps = {
            {QStringLiteral("@nCliente"), TipoParametro::Integer, Direccion::Entrada, 4, 4521.0},
            {QStringLiteral("@cNombres"), TipoParametro::Char, Direccion::Entrada, 50,
             QStringLiteral("JUAN")},
            {QStringLiteral("@cPaterno"), TipoParametro::Char, Direccion::Entrada, 50,
             QStringLiteral("PEÑA")},
            {QStringLiteral("@cMaterno"), TipoParametro::Char, Direccion::Entrada, 50, QString()},
            {QStringLiteral("@nEmpresa"), TipoParametro::Integer, Direccion::Entrada, 4, 0},
            {QStringLiteral("@dNacimiento"), TipoParametro::DBTimeStamp, Direccion::Entrada, 8,
             QStringLiteral("1900/01/01")}};
        QVERIFY(m.llamar(QStringLiteral("norv.dbo.Cliente_Compra_Facil"), ps) == nullptr);
        const QList<PeticionTds> llamadas = srv.llamadas();
        QCOMPARE(llamadas.size(), 1);
        const PeticionTds& p = llamadas.first();
        QVERIFY2(p.falla.isEmpty(), qPrintable(p.falla));
        QCOMPARE(p.texto, QStringLiteral("norv.dbo.Cliente_Compra_Facil"));
        QCOMPARE(p.parametros.size(), 6);
        QCOMPARE(p.parametros[0].valor.toLongLong(), 4521);
        QCOMPARE(p.parametros[1].valor.toString(), QStringLiteral("JUAN").leftJustified(50));
        QCOMPARE(p.parametros[3].valor.toString(), QString(50, QLatin1Char(' ')));
        QCOMPARE(p.parametros[4].valor.toLongLong(), 0);
        QCOMPARE(p.parametros[5].valor.toDateTime(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    }

    void procedimientoConResultadoLoDevuelve() {
        const QList<Columna> cols = {{QStringLiteral("cliente"), kIntN, 4},
                                     {QStringLiteral("aval_de"), kNVarChar, 100},
                                     {QStringLiteral("incobrable"), kBitN, 1},
                                     {QStringLiteral("es_aval"), kBitN, 1},
                                     {QStringLiteral("malo"), kBitN, 1}};
        ServidorTds& srv = servidor([&](const PeticionTds& p) -> QByteArray {
            if (p.texto != QLatin1String("NORV.dbo.Rep_Historial_Norv_Cliente")) return {};
            return Hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 5) + Metadatos(cols) +
                   Fila(cols, {0, QStringLiteral("Aval de 1234"), false, true, false}) +
                   Hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 1) + EstadoRetorno(0) +
                   Hecho(kHechoProc, 0, 0);
        });
        MotorOdbc m(cadena(), 5);
        QList<Parametro> ps = {{QStringLiteral("@cApellidos"), TipoParametro::Char,
                                Direccion::Entrada, 60, QStringLiteral("PEÑA LOPEZ")},
                               {QStringLiteral("@cNombres"), TipoParametro::Char,
                                Direccion::Entrada, 60, QStringLiteral("JUAN")}};
        auto r = m.llamar(QStringLiteral("NORV.dbo.Rep_Historial_Norv_Cliente"), ps);
        QVERIFY(r != nullptr);
        QCOMPARE(r->columnas(), 5);
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0), QVariant(qint64(0)));
        QCOMPARE(r->valor(1), QVariant(QStringLiteral("Aval de 1234")));
        QCOMPARE(r->valor(2), QVariant(false));
        QCOMPARE(r->valor(3), QVariant(true));
        QVERIFY(!r->siguiente());
        // The connection is free again: the next statement goes through.
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE norv.dbo.Promociones SET Tipo_venta = 1")), 0);
        QCOMPARE(srv.llamadas().first().parametros[0].valor.toString(),
                 QStringLiteral("PEÑA LOPEZ").leftJustified(60));
    }

    void errorDelProcedimientoEsErrorBD() {
        servidor([](const PeticionTds& p) -> QByteArray {
            if (p.texto != QLatin1String("REGRESA_FOLIO")) return {};
            return errorServidor(2627,
                                 QStringLiteral("Violation of PRIMARY KEY constraint 'PK_x'.")) +
                   Hecho(kHechoEnProc, kHechoError, 0) + EstadoRetorno(-6) +
                   Hecho(kHechoProc, kHechoError, 0);
        });
        MotorOdbc m(cadena(), 5);
        QList<Parametro> ps = {
            {QStringLiteral("@Nfolio"), TipoParametro::Integer, Direccion::Salida, 8, QVariant()}};
        try {
            m.llamar(QStringLiteral("REGRESA_FOLIO"), ps);
            QFAIL("el error del procedimiento no llegó");
        } catch (const ErrorBD& e) {
            QVERIFY2(e.tipo() == db::TipoFalla::Duplicado &&
                         e.mensaje().contains(QLatin1String("Violation of PRIMARY KEY")),
                     qPrintable(e.mensaje()));
        }
    }

    void unResultadoPendienteNoEstorbaAlSiguiente() {
        const QList<Columna> cols = {{QStringLiteral("n"), kIntN, 4}};
        servidor([&](const PeticionTds& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("SELECT n"))) return {};
            QByteArray r = Metadatos(cols);
            for (int i = 1; i <= 3; ++i) r += Fila(cols, {i});
            return r + Hecho(kHecho, kHechoCuenta, 3);
        });
        MotorOdbc m(cadena(), 5);
        auto r = m.consultar(QStringLiteral("SELECT n FROM t"));
        QVERIFY(r->siguiente());
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE norv.dbo.Promociones SET Tipo_venta = 0")), 0);
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 2);
    }
};

QTEST_MAIN(MotorOdbcTdsPrueba)
#include "motor_odbc_tds_test.moc"
