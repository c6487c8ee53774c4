#pragma once
// The TDS 7.4 wire format, as much of it as the stand-in for SQL Server needs: packets on a
// socket, the numbers of the protocol and the server's tokens.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace tds {

// Packet types.
enum : quint8 {
    kPaqueteLote = 0x01,
    kPaqueteRpc = 0x03,
    kPaqueteRespuesta = 0x04,
    kPaqueteAtencion = 0x06,
    kPaqueteTransaccion = 0x0E,
    kPaqueteLogin = 0x10,
    kPaquetePrelogin = 0x12,
};

// Tokens.
enum : quint8 {
    kColMetadata = 0x81,
    kFila = 0xD1,
    kHecho = 0xFD,
    kHechoProc = 0xFE,
    kHechoEnProc = 0xFF,
    kEstadoRetorno = 0x79,
    kValorRetorno = 0xAC,
    kError = 0xAA,
    kInfo = 0xAB,
    kLoginAck = 0xAD,
    kCambioEnv = 0xE3,
};

// Data types.
enum : quint8 {
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
    kTexto = 0x23,
    kNTexto = 0x63,
    kInt4 = 0x38,
    kInt8 = 0x7F,
    kBit = 0x32,
    kFechaHora = 0x3D,
};

// DONE status bits.
constexpr quint16 kHechoMas = 0x01, kHechoError = 0x02, kHechoCuenta = 0x10, kHechoAtencion = 0x20;

// ENVCHANGE types.
enum : quint8 {
    kEnvBase = 1,
    kEnvIdioma = 2,
    kEnvPaquete = 4,
    kEnvCotejo = 7,
    kEnvEmpezar = 8,
    kEnvConfirmar = 9,
    kEnvDeshacer = 10,
};

// Transaction-manager requests.
enum : quint16 { kTmEmpezar = 5, kTmConfirmar = 7, kTmDeshacer = 8, kTmGuardar = 9 };

// SQL_Latin1_General_CP1_CI_AS: code page 1252.
inline const QByteArray kCotejo = QByteArray::fromHex("0904D00034");

class Escritor {
  public:
    QByteArray b;
    Escritor& u8(quint8 v);
    Escritor& u16(quint16 v);
    Escritor& u32(quint32 v);
    Escritor& u64(quint64 v);
    Escritor& ucs2(const QString& s);
    Escritor& bVarChar(const QString& s);   // a byte of length in characters, then UCS-2
    Escritor& usVarChar(const QString& s);  // the same with two bytes of length
    Escritor& bytes(const QByteArray& d);
};

class Lector {
  public:
    explicit Lector(const QByteArray& b) : b_(b) {}
    bool fin() const { return p_ >= b_.size(); }
    quint8 u8();
    quint16 u16();
    quint32 u32();
    quint64 uN(int n);
    QByteArray bytes(int n);
    QString ucs2(int caracteres);
    void saltarEncabezados();  // ALL_HEADERS in front of batches, calls and transaction requests
    bool mal() const { return mal_; }

  private:
    bool queda(qsizetype n) const { return p_ + n <= b_.size(); }
    const QByteArray& b_;
    qsizetype p_ = 0;
    bool mal_ = false;
};

// A result column as it travels: its name and TDS type with the length that goes with it
// (bytes for fixed kinds, characters for texts).
struct ColumnaTds {
    QString nombre;
    quint8 tipo = kIntN;
    int largo = 4;
};

QByteArray Metadatos(const QList<ColumnaTds>& columnas);
QByteArray Fila(const QList<ColumnaTds>& columnas, const QVariantList& valores);
QByteArray Hecho(quint8 token, quint16 estado, quint64 cuenta);
QByteArray EstadoRetorno(qint32 valor);
// An output parameter's value; `ordinal` counts the call's parameters from 1.
QByteArray ValorRetorno(quint16 ordinal, const QString& nombre, const ColumnaTds& tipo,
                        const QVariant& valor);
// ERROR (or INFO with a class of 10 and less), as SQL Server words every message.
QByteArray Mensaje(qint32 numero, quint8 estado, quint8 clase, const QString& texto,
                   const QString& servidor, const QString& procedimiento = QString(),
                   qint32 linea = 1);
// A transaction descriptor begun, committed or rolled back.
QByteArray CambioTransaccion(quint8 tipo, quint64 descriptor);

QByteArray RespuestaPrelogin();
QByteArray RespuestaLogin(const QString& base, int tamanoPaquete);

// One message, however many packets it spans; false once the peer is gone.
bool RecibirMensaje(int socket, quint8* tipo, QByteArray* cuerpo);
bool EnviarMensaje(int socket, const QByteArray& datos, int tamanoPaquete, quint16 spid);

}  // namespace tds
