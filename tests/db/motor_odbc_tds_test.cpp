// The ODBC engine against a small stand-in for SQL Server that speaks TDS 7.4 on a local port:
// the real unixODBC, FreeTDS and Qt driver carry the statements and procedure calls, and the
// stand-in records what reached the wire and answers as the company's server would.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "controlador_odbc.h"
#include "db/comando.h"
#include "db/conexion.h"
#include "db/error_bd.h"
#include "db/motor_odbc.h"
#include "db/recordset.h"

using db::Direccion;
using db::ErrorBD;
using db::MotorOdbc;
using db::Parametro;
using db::TipoParametro;

namespace {

// TDS token and type codes used here.
enum : quint8 {
    kColMetadata = 0x81,
    kFila = 0xD1,
    kHecho = 0xFD,
    kHechoProc = 0xFE,
    kHechoEnProc = 0xFF,
    kEstadoRetorno = 0x79,
    kValorRetorno = 0xAC,
    kError = 0xAA,
    kLoginAck = 0xAD,
    kCambioEnv = 0xE3,
    kIntN = 0x26,
    kBitN = 0x68,
    kFltN = 0x6D,
    kMoneyN = 0x6E,
    kFechaHoraN = 0x6F,
    kFechaHora2N = 0x2A,
    kFechaN = 0x28,
    kNVarChar = 0xE7,
    kNChar = 0xEF,
    kVarChar = 0xA7,
    kChar = 0xAF,
    kNTexto = 0x63,
};
constexpr quint16 kHechoMas = 0x01, kHechoError = 0x02, kHechoCuenta = 0x10;
const QByteArray kCotejo = QByteArray::fromHex("0904D00034");  // SQL_Latin1_General_CP1_CI_AS

class Escritor {
  public:
    QByteArray b;
    Escritor& u8(quint8 v) {
        b.append(char(v));
        return *this;
    }
    Escritor& u16(quint16 v) {
        char x[2];
        qToLittleEndian(v, x);
        b.append(x, 2);
        return *this;
    }
    Escritor& u32(quint32 v) {
        char x[4];
        qToLittleEndian(v, x);
        b.append(x, 4);
        return *this;
    }
    Escritor& u64(quint64 v) {
        char x[8];
        qToLittleEndian(v, x);
        b.append(x, 8);
        return *this;
    }
    Escritor& ucs2(const QString& s) {
        for (QChar c : s) u16(c.unicode());
        return *this;
    }
    Escritor& bVarChar(const QString& s) {
        u8(quint8(s.size()));
        return ucs2(s);
    }
    Escritor& usVarChar(const QString& s) {
        u16(quint16(s.size()));
        return ucs2(s);
    }
};

struct Columna {
    QString nombre;
    quint8 tipo;
    int largo;  // bytes for fixed kinds, characters for text
};

QByteArray hecho(quint8 token, quint16 estado, quint64 cuenta) {
    Escritor e;
    e.u8(token).u16(estado).u16(0).u64(cuenta);
    return e.b;
}

void tipoInfo(Escritor& e, const Columna& c) {
    e.u8(c.tipo);
    if (c.tipo == kNVarChar || c.tipo == kNChar) {
        e.u16(quint16(c.largo * 2));
        e.b.append(kCotejo);
    } else {
        e.u8(quint8(c.largo));
    }
}

void valor(Escritor& e, const Columna& c, const QVariant& v) {
    if (c.tipo == kNVarChar || c.tipo == kNChar) {
        if (v.isNull()) {
            e.u16(0xFFFF);
            return;
        }
        QString s = v.toString();
        if (c.tipo == kNChar) s = s.leftJustified(c.largo, QLatin1Char(' '));
        e.u16(quint16(s.size() * 2)).ucs2(s);
        return;
    }
    if (v.isNull()) {
        e.u8(0);
        return;
    }
    e.u8(quint8(c.largo));
    switch (c.tipo) {
        case kIntN:
            if (c.largo == 8)
                e.u64(quint64(v.toLongLong()));
            else
                e.u32(quint32(v.toInt()));
            break;
        case kBitN:
            e.u8(v.toBool() ? 1 : 0);
            break;
        case kFltN: {
            const double d = v.toDouble();
            quint64 x;
            memcpy(&x, &d, 8);
            e.u64(x);
            break;
        }
        case kMoneyN: {
            const qint64 m = qRound64(v.toDouble() * 10000);
            e.u32(quint32(quint64(m) >> 32)).u32(quint32(quint64(m) & 0xFFFFFFFF));
            break;
        }
        case kFechaHoraN: {
            const QDateTime d = v.toDateTime();
            e.u32(quint32(QDate(1900, 1, 1).daysTo(d.date())));
            e.u32(quint32(d.time().msecsSinceStartOfDay() * 3 / 10));
            break;
        }
    }
}

QByteArray metadatos(const QList<Columna>& cols) {
    Escritor e;
    e.u8(kColMetadata).u16(quint16(cols.size()));
    for (const Columna& c : cols) {
        e.u32(0).u16(0x0001 /* nullable */);
        tipoInfo(e, c);
        e.bVarChar(c.nombre);
    }
    return e.b;
}

QByteArray fila(const QList<Columna>& cols, const QVariantList& valores) {
    Escritor e;
    e.u8(kFila);
    for (int i = 0; i < cols.size(); ++i) valor(e, cols[i], valores.value(i));
    return e.b;
}

QByteArray valorRetornoEntero(quint16 ordinal, const QString& nombre, const QVariant& v) {
    Escritor e;
    e.u8(kValorRetorno).u16(ordinal).bVarChar(nombre).u8(0x01).u32(0).u16(0x0001);
    const Columna c{nombre, kIntN, 4};
    tipoInfo(e, c);
    valor(e, c, v);
    return e.b;
}

QByteArray estadoRetorno(qint32 v) {
    Escritor e;
    e.u8(kEstadoRetorno).u32(quint32(v));
    return e.b;
}

QByteArray errorServidor(qint32 numero, const QString& texto) {
    Escritor cuerpo;
    cuerpo.u32(quint32(numero))
        .u8(1)
        .u8(16)
        .usVarChar(texto)
        .bVarChar(QStringLiteral("SRV"))
        .bVarChar(QString())
        .u32(1);
    Escritor e;
    e.u8(kError).u16(quint16(cuerpo.b.size()));
    e.b.append(cuerpo.b);
    return e.b;
}

struct Param {
    quint8 tipo = 0;
    quint8 estado = 0;  // 1: output
    QVariant valor;
};

struct Peticion {
    bool rpc = false;
    QString texto;  // the batch text, or the procedure's name
    QList<Param> params;
    QString falla;  // what could not be read, if anything
};

using Guion = std::function<QByteArray(const Peticion&)>;

class Lector {
  public:
    explicit Lector(const QByteArray& b) : b_(b) {}
    bool queda(int n) const { return p_ + n <= b_.size(); }
    bool fin() const { return p_ >= b_.size(); }
    quint8 u8() { return queda(1) ? quint8(b_[p_++]) : (mal_ = true, 0); }
    quint16 u16() {
        if (!queda(2)) {
            mal_ = true;
            return 0;
        }
        auto v = qFromLittleEndian<quint16>(b_.constData() + p_);
        p_ += 2;
        return v;
    }
    quint32 u32() {
        if (!queda(4)) {
            mal_ = true;
            return 0;
        }
        auto v = qFromLittleEndian<quint32>(b_.constData() + p_);
        p_ += 4;
        return v;
    }
    quint64 uN(int n) {
        quint64 v = 0;
        for (int i = 0; i < n; ++i) v |= quint64(u8()) << (8 * i);
        return v;
    }
    QByteArray bytes(int n) {
        if (!queda(n)) {
            mal_ = true;
            return {};
        }
        auto r = b_.mid(p_, n);
        p_ += n;
        return r;
    }
    QString ucs2(int caracteres) {
        QString s;
        for (int i = 0; i < caracteres; ++i) s.append(QChar(u16()));
        return s;
    }
    bool mal() const { return mal_; }

  private:
    const QByteArray& b_;
    int p_ = 0;
    bool mal_ = false;
};

Peticion leerRpc(const QByteArray& cuerpo) {
    Peticion pet;
    pet.rpc = true;
    Lector l(cuerpo);
    const quint32 encabezados = l.u32();
    l.bytes(int(encabezados) - 4);
    const quint16 largoNombre = l.u16();
    pet.texto = largoNombre == 0xFFFF ? QStringLiteral("#%1").arg(l.u16()) : l.ucs2(largoNombre);
    l.u16();  // option flags
    while (!l.fin() && !l.mal()) {
        Param p;
        l.ucs2(l.u8());  // name: empty for positional markers
        p.estado = l.u8();
        p.tipo = l.u8();
        switch (p.tipo) {
            case kIntN:
            case kBitN:
            case kFltN:
            case kFechaHoraN:
            case kMoneyN: {
                l.u8();
                const int n = l.u8();
                if (n == 0) break;
                if (p.tipo == kFltN) {
                    if (n == 8) {
                        quint64 x = l.uN(8);
                        double d;
                        memcpy(&d, &x, 8);
                        p.valor = d;
                    } else {
                        quint32 x = quint32(l.uN(4));
                        float f;
                        memcpy(&f, &x, 4);
                        p.valor = double(f);
                    }
                } else if (p.tipo == kFechaHoraN) {
                    const qint32 dias = qint32(l.u32());
                    const quint32 tics = l.u32();
                    p.valor = QDateTime(QDate(1900, 1, 1).addDays(dias),
                                        QTime(0, 0).addMSecs(qint64(tics) * 10 / 3));
                } else {
                    p.valor = qint64(l.uN(n));
                    if (n == 4) p.valor = qint64(qint32(p.valor.toLongLong()));
                }
                break;
            }
            case kFechaHora2N: {
                const int escala = l.u8();
                const int n = l.u8();
                if (n == 0) break;
                quint64 hora = l.uN(n - 3);
                const quint64 dias = l.uN(3);
                for (int i = 0; i < escala; ++i) hora /= 10;
                p.valor = QDateTime(QDate(1, 1, 1).addDays(qint64(dias)),
                                    QTime(0, 0).addSecs(qint64(hora)));
                break;
            }
            case kFechaN: {
                const int n = l.u8();
                if (n) p.valor = QDateTime(QDate(1, 1, 1).addDays(qint64(l.uN(3))), QTime(0, 0));
                break;
            }
            case kNVarChar:
            case kNChar:
            case kVarChar:
            case kChar: {
                const quint16 max = l.u16();
                l.bytes(5);
                if (max == 0xFFFF) {
                    pet.falla = QStringLiteral("texto PLP sin leer");
                    return pet;
                }
                const quint16 n = l.u16();
                if (n == 0xFFFF) break;
                if (p.tipo == kNVarChar || p.tipo == kNChar)
                    p.valor = l.ucs2(n / 2);
                else
                    p.valor = QString::fromLatin1(l.bytes(n));
                break;
            }
            case kNTexto: {
                l.u32();
                l.bytes(5);
                const quint32 n = l.u32();
                if (n != 0xFFFFFFFF) p.valor = l.ucs2(int(n / 2));
                break;
            }
            default:
                pet.falla =
                    QStringLiteral("tipo 0x%1 sin leer").arg(p.tipo, 2, 16, QLatin1Char('0'));
                return pet;
        }
        pet.params << p;
    }
    if (l.mal()) pet.falla = QStringLiteral("petición truncada");
    return pet;
}

// One server on 127.0.0.1, one connection at a time, answering through a script.
class ServidorTds {
  public:
    explicit ServidorTds(Guion guion) : guion_(std::move(guion)) {
        escucha_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof a;
        if (::bind(escucha_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(escucha_, 4) != 0 ||
            ::getsockname(escucha_, reinterpret_cast<sockaddr*>(&a), &largo) != 0)
            return;
        puerto_ = ntohs(a.sin_port);
        hilo_ = std::thread([this] { atender(); });
    }
    ~ServidorTds() {
        ::shutdown(escucha_, SHUT_RDWR);
        ::close(escucha_);
        const int c = cliente_.load();
        if (c >= 0) ::shutdown(c, SHUT_RDWR);
        if (hilo_.joinable()) hilo_.join();
    }
    quint16 puerto() const { return puerto_; }
    QList<Peticion> peticiones() {
        std::lock_guard<std::mutex> l(m_);
        return peticiones_;
    }
    // Calls to procedures by name: Qt's own set-up statement travels through server cursors,
    // system procedures called by number.
    QList<Peticion> llamadas() {
        QList<Peticion> r;
        for (const Peticion& p : peticiones())
            if (p.rpc && !p.texto.startsWith(QLatin1Char('#'))) r << p;
        return r;
    }

  private:
    void atender() {
        for (;;) {
            const int c = ::accept(escucha_, nullptr, nullptr);
            if (c < 0) return;
            cliente_ = c;
            conversar(c);
            cliente_ = -1;
            ::close(c);
        }
    }

    bool leerTodo(int c, char* destino, int n) {
        while (n > 0) {
            const ssize_t r = ::recv(c, destino, size_t(n), 0);
            if (r <= 0) return false;
            destino += r;
            n -= int(r);
        }
        return true;
    }

    bool leerMensaje(int c, quint8* tipo, QByteArray* cuerpo) {
        cuerpo->clear();
        for (;;) {
            char enc[8];
            if (!leerTodo(c, enc, 8)) return false;
            *tipo = quint8(enc[0]);
            const int largo = qFromBigEndian<quint16>(enc + 2) - 8;
            QByteArray parte(largo, '\0');
            if (largo > 0 && !leerTodo(c, parte.data(), largo)) return false;
            cuerpo->append(parte);
            if (enc[1] & 0x01) return true;
        }
    }

    void enviar(int c, const QByteArray& datos) {
        constexpr int kMax = 4096 - 8;
        int p = 0;
        do {
            const int n = std::min(kMax, int(datos.size()) - p);
            QByteArray paquete(8, '\0');
            paquete[0] = 0x04;
            paquete[1] = char(p + n >= datos.size() ? 0x01 : 0x00);
            qToBigEndian<quint16>(quint16(n + 8), paquete.data() + 2);
            paquete[6] = 1;
            paquete.append(datos.mid(p, n));
            ::send(c, paquete.constData(), size_t(paquete.size()), MSG_NOSIGNAL);
            p += n;
        } while (p < datos.size());
    }

    QByteArray respuestaPrelogin() {
        // VERSION, ENCRYPTION (not supported: no TLS), INSTOPT, THREADID, MARS.
        const quint8 opciones[][2] = {{0x00, 6}, {0x01, 1}, {0x02, 1}, {0x03, 0}, {0x04, 1}};
        QByteArray enc, datos;
        const int base = 5 * 5 + 1;
        const QByteArray valores[] = {QByteArray::fromHex("0F0007D00000"), QByteArray(1, '\x02'),
                                      QByteArray(1, '\0'), QByteArray(), QByteArray(1, '\0')};
        for (int i = 0; i < 5; ++i) {
            enc.append(char(opciones[i][0]));
            char x[2];
            qToBigEndian<quint16>(quint16(base + datos.size()), x);
            enc.append(x, 2);
            qToBigEndian<quint16>(quint16(valores[i].size()), x);
            enc.append(x, 2);
            datos.append(valores[i]);
        }
        enc.append(char(0xFF));
        return enc + datos;
    }

    QByteArray respuestaLogin() {
        Escritor bd;
        bd.u8(1).bVarChar(QStringLiteral("erp_oxa")).bVarChar(QStringLiteral("master"));
        Escritor cot;
        cot.u8(7).u8(5);
        cot.b.append(kCotejo);
        cot.u8(0);
        Escritor ack;
        ack.u8(1)
            .u8(0x74)
            .u8(0)
            .u8(0)
            .u8(4)
            .bVarChar(QStringLiteral("Microsoft SQL Server"))
            .u8(15)
            .u8(0)
            .u8(0x07)
            .u8(0xD0);
        Escritor e;
        e.u8(kCambioEnv).u16(quint16(bd.b.size()));
        e.b.append(bd.b);
        e.u8(kCambioEnv).u16(quint16(cot.b.size()));
        e.b.append(cot.b);
        e.u8(kLoginAck).u16(quint16(ack.b.size()));
        e.b.append(ack.b);
        e.b.append(hecho(kHecho, 0, 0));
        return e.b;
    }

    void conversar(int c) {
        quint8 tipo = 0;
        QByteArray cuerpo;
        while (leerMensaje(c, &tipo, &cuerpo)) {
            if (tipo == 0x12) {
                enviar(c, respuestaPrelogin());
            } else if (tipo == 0x10) {
                enviar(c, respuestaLogin());
            } else if (tipo == 0x06) {
                enviar(c, hecho(kHecho, 0x20, 0));  // attention acknowledged
            } else if (tipo == 0x01 || tipo == 0x03) {
                Peticion p;
                if (tipo == 0x01) {
                    Lector l(cuerpo);
                    l.bytes(int(l.u32()) - 4);
                    p.texto = l.ucs2(
                        int((cuerpo.size() - qFromLittleEndian<quint32>(cuerpo.constData())) / 2));
                } else {
                    p = leerRpc(cuerpo);
                }
                {
                    std::lock_guard<std::mutex> l(m_);
                    peticiones_ << p;
                }
                QByteArray r = guion_(p);
                // Unscripted: done, no rows touched (what the driver's own set-up statements get).
                if (r.isEmpty()) r = hecho(tipo == 0x03 ? kHechoProc : kHecho, kHechoCuenta, 0);
                enviar(c, r);
            }
        }
    }

    Guion guion_;
    int escucha_ = -1;
    quint16 puerto_ = 0;
    std::atomic<int> cliente_{-1};
    std::thread hilo_;
    std::mutex m_;
    QList<Peticion> peticiones_;
};

QString cadena(quint16 puerto) {
    return QStringLiteral(
               "Driver={SQL Server};Server=127.0.0.1,%1;Database=erp_oxa;Uid=cajero;"
               "Pwd=secreto;")
        .arg(puerto);
}

}  // namespace

class MotorOdbcTdsPrueba : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir ini_;
    QString tds_;

  private slots:
    void initTestCase() {
        QVERIFY(ini_.isValid());
        tds_ = buscarControlador(QStringLiteral("libtdsodbc.so"));
        QFile f(ini_.filePath(QStringLiteral("odbcinst.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write(QStringLiteral("[SQL Server]\nDriver=%1\n").arg(tds_).toUtf8());
        f.close();
        qputenv("ODBCSYSINI", QFile::encodeName(ini_.path()));
        qputenv("ODBCINSTINI", "odbcinst.ini");
        qunsetenv("TDSVER");
        qunsetenv("TDSPORT");
    }

    void init() {
        if (tds_.isEmpty()) QSKIP("libtdsodbc.so (paquete tdsodbc) no está instalado");
    }

    void consultaConTiposDelServidor() {
        const QList<Columna> cols = {
            {QStringLiteral("folio"), kIntN, 4},       {QStringLiteral("nombre"), kNVarChar, 40},
            {QStringLiteral("clave"), kNChar, 7},      {QStringLiteral("activo"), kBitN, 1},
            {QStringLiteral("fecha"), kFechaHoraN, 8}, {QStringLiteral("importe"), kMoneyN, 8},
            {QStringLiteral("tasa"), kFltN, 8}};
        ServidorTds srv([&](const Peticion& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("SELECT folio"))) return {};
            return metadatos(cols) +
                   fila(cols, {101, QStringLiteral("PEÑA O'HIGGINS"), QStringLiteral("12"), true,
                               QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)), 1500.25, 0.16}) +
                   fila(cols, {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                               QVariant(), QVariant()}) +
                   hecho(kHecho, kHechoCuenta, 2);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
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
        ServidorTds srv([](const Peticion& p) -> QByteArray {
            if (!p.texto.contains(QLatin1String("no_existe"))) return {};
            return errorServidor(208, QStringLiteral("Invalid object name 'no_existe'.")) +
                   hecho(kHecho, kHechoError, 0);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
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
        ServidorTds srv([](const Peticion& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("UPDATE"))) return {};
            return hecho(kHecho, kHechoCuenta, 3);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET x=1")),
                 3);
    }

    void procedimientoConSalidaEnteraComoLoLlamaElGuardado() {
        ServidorTds srv([](const Peticion& p) -> QByteArray {
            if (p.texto != QLatin1String("Guarda_Cliente_norv")) return {};
            // Without SET NOCOUNT ON the procedure's INSERT reports its count first.
            return hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 1) + estadoRetorno(0) +
                   valorRetornoEntero(4, QStringLiteral("@nCliente"), 4521) +
                   hecho(kHechoProc, 0, 0);
        });
        db::Conexion conexion;
        conexion.abrir(std::make_unique<MotorOdbc>(cadena(srv.puerto()), 5));
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

        const QList<Peticion> llamadas = srv.llamadas();
        QCOMPARE(llamadas.size(), 1);
        const Peticion& p = llamadas.first();
        QVERIFY2(p.falla.isEmpty(), qPrintable(p.falla));
        QCOMPARE(p.texto, QStringLiteral("Guarda_Cliente_norv"));
        QCOMPARE(p.params.size(), 4);
        QCOMPARE(p.params[0].valor, QVariant(QStringLiteral("12     ")));
        QCOMPARE(p.params[1].valor, QVariant(QString(20, QLatin1Char(' '))));
        QCOMPARE(p.params[2].valor.toString().size(), 80);
        QCOMPARE(p.params[2].valor.toString().trimmed(), QStringLiteral("PEÑA LOPEZ JUAN"));
        QCOMPARE(p.params[3].estado & 0x01, 0x01);  // sent as an output
        QCOMPARE(p.params[3].tipo, kIntN);
    }

    void salidaNulaSeLeeNula() {
        ServidorTds srv([](const Peticion& p) -> QByteArray {
            if (p.texto != QLatin1String("REGRESA_FOLIO")) return {};
            return estadoRetorno(0) + valorRetornoEntero(1, QStringLiteral("@Nfolio"), QVariant()) +
                   hecho(kHechoProc, 0, 0);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
        QList<Parametro> ps = {Parametro{QStringLiteral("@Nfolio"), TipoParametro::Integer,
                                         Direccion::Salida, 8, QVariant(77)}};
        QVERIFY(m.llamar(QStringLiteral("REGRESA_FOLIO"), ps) == nullptr);
        QVERIFY2(ps[0].valor.isNull(), qPrintable(ps[0].valor.toString()));
    }

    void fechaYEnterosComoLosMandaElAlta() {
        ServidorTds srv([](const Peticion&) -> QByteArray { return {}; });
        MotorOdbc m(cadena(srv.puerto()), 5);
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
        const QList<Peticion> llamadas = srv.llamadas();
        QCOMPARE(llamadas.size(), 1);
        const Peticion& p = llamadas.first();
        QVERIFY2(p.falla.isEmpty(), qPrintable(p.falla));
        QCOMPARE(p.texto, QStringLiteral("norv.dbo.Cliente_Compra_Facil"));
        QCOMPARE(p.params.size(), 6);
        QCOMPARE(p.params[0].valor.toLongLong(), 4521);
        QCOMPARE(p.params[1].valor.toString(), QStringLiteral("JUAN").leftJustified(50));
        QCOMPARE(p.params[3].valor.toString(), QString(50, QLatin1Char(' ')));
        QCOMPARE(p.params[4].valor.toLongLong(), 0);
        QCOMPARE(p.params[5].valor.toDateTime(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    }

    void procedimientoConResultadoLoDevuelve() {
        const QList<Columna> cols = {{QStringLiteral("cliente"), kIntN, 4},
                                     {QStringLiteral("aval_de"), kNVarChar, 100},
                                     {QStringLiteral("incobrable"), kBitN, 1},
                                     {QStringLiteral("es_aval"), kBitN, 1},
                                     {QStringLiteral("malo"), kBitN, 1}};
        ServidorTds srv([&](const Peticion& p) -> QByteArray {
            if (p.texto != QLatin1String("NORV.dbo.Rep_Historial_Norv_Cliente")) return {};
            return hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 5) + metadatos(cols) +
                   fila(cols, {0, QStringLiteral("Aval de 1234"), false, true, false}) +
                   hecho(kHechoEnProc, kHechoMas | kHechoCuenta, 1) + estadoRetorno(0) +
                   hecho(kHechoProc, 0, 0);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
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
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE x SET y=1")), 0);
        QCOMPARE(srv.llamadas().first().params[0].valor.toString(),
                 QStringLiteral("PEÑA LOPEZ").leftJustified(60));
    }

    void errorDelProcedimientoEsErrorBD() {
        ServidorTds srv([](const Peticion& p) -> QByteArray {
            if (p.texto != QLatin1String("REGRESA_FOLIO")) return {};
            return errorServidor(2627,
                                 QStringLiteral("Violation of PRIMARY KEY constraint 'PK_x'.")) +
                   hecho(kHechoEnProc, kHechoError, 0) + estadoRetorno(-6) +
                   hecho(kHechoProc, kHechoError, 0);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
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
        ServidorTds srv([&](const Peticion& p) -> QByteArray {
            if (!p.texto.startsWith(QLatin1String("SELECT n"))) return {};
            QByteArray r = metadatos(cols);
            for (int i = 1; i <= 3; ++i) r += fila(cols, {i});
            return r + hecho(kHecho, kHechoCuenta, 3);
        });
        MotorOdbc m(cadena(srv.puerto()), 5);
        auto r = m.consultar(QStringLiteral("SELECT n FROM t"));
        QVERIFY(r->siguiente());
        QCOMPARE(m.ejecutar(QStringLiteral("UPDATE t SET n = 0")), 0);
        QVERIFY(r->siguiente());
        QCOMPARE(r->valor(0).toInt(), 2);
    }
};

QTEST_MAIN(MotorOdbcTdsPrueba)
#include "motor_odbc_tds_test.moc"
