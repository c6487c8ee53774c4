#include "tds_paquetes.h"

#include <sys/socket.h>

#include <QDate>
#include <QDateTime>
#include <QtEndian>
#include <cstring>

#include "startup/ansi.h"

namespace tds {

Escritor& Escritor::u8(quint8 v) {
    b.append(char(v));
    return *this;
}
Escritor& Escritor::u16(quint16 v) {
    char x[2];
    qToLittleEndian(v, x);
    b.append(x, 2);
    return *this;
}
Escritor& Escritor::u32(quint32 v) {
    char x[4];
    qToLittleEndian(v, x);
    b.append(x, 4);
    return *this;
}
Escritor& Escritor::u64(quint64 v) {
    char x[8];
    qToLittleEndian(v, x);
    b.append(x, 8);
    return *this;
}
Escritor& Escritor::ucs2(const QString& s) {
    for (QChar c : s) u16(c.unicode());
    return *this;
}
Escritor& Escritor::bVarChar(const QString& s) {
    u8(quint8(s.size()));
    return ucs2(s);
}
Escritor& Escritor::usVarChar(const QString& s) {
    u16(quint16(s.size()));
    return ucs2(s);
}
Escritor& Escritor::bytes(const QByteArray& d) {
    b.append(d);
    return *this;
}

quint8 Lector::u8() { return queda(1) ? quint8(b_[p_++]) : (mal_ = true, 0); }
quint16 Lector::u16() { return quint16(uN(2)); }
quint32 Lector::u32() { return quint32(uN(4)); }
quint64 Lector::uN(int n) {
    if (!queda(n)) {
        mal_ = true;
        p_ = b_.size();
        return 0;
    }
    quint64 v = 0;
    for (int i = 0; i < n; ++i) v |= quint64(quint8(b_[p_++])) << (8 * i);
    return v;
}
QByteArray Lector::bytes(int n) {
    if (n < 0 || !queda(n)) {
        mal_ = true;
        p_ = b_.size();
        return {};
    }
    const QByteArray r = b_.mid(p_, n);
    p_ += n;
    return r;
}
QString Lector::ucs2(int caracteres) {
    QString s;
    s.reserve(caracteres);
    for (int i = 0; i < caracteres && !mal_; ++i) s.append(QChar(u16()));
    return s;
}
void Lector::saltarEncabezados() {
    // Only TDS 7.2 and later send them; all of them start with their own total length.
    const quint32 largo = u32();
    bytes(int(largo) - 4);
}

namespace {

bool esTextoNacional(quint8 t) { return t == kNVarChar || t == kNChar; }
bool esTextoSimple(quint8 t) { return t == kVarChar || t == kChar; }

void tipoInfo(Escritor& e, const ColumnaTds& c) {
    e.u8(c.tipo);
    if (esTextoNacional(c.tipo)) {
        e.u16(quint16(c.largo * 2)).bytes(kCotejo);
    } else if (esTextoSimple(c.tipo)) {
        e.u16(quint16(c.largo)).bytes(kCotejo);
    } else if (c.tipo == kTexto) {
        e.u32(0x7FFFFFFF).bytes(kCotejo);
    } else {
        e.u8(quint8(c.largo));
    }
}

qint64 enteroDe(const QVariant& v) {
    return v.typeId() == QMetaType::Double ? qRound64(v.toDouble()) : v.toLongLong();
}

void valor(Escritor& e, const ColumnaTds& c, const QVariant& v) {
    if (esTextoNacional(c.tipo)) {
        if (v.isNull()) {
            e.u16(0xFFFF);
            return;
        }
        QString s = v.toString();
        if (c.tipo == kNChar) s = s.leftJustified(c.largo, QLatin1Char(' '));
        e.u16(quint16(s.size() * 2)).ucs2(s);
        return;
    }
    if (esTextoSimple(c.tipo)) {
        if (v.isNull()) {
            e.u16(0xFFFF);
            return;
        }
        QByteArray s = ansi::aCodigos(v.toString());
        if (c.tipo == kChar) s = s.leftJustified(c.largo, ' ');
        e.u16(quint16(s.size())).bytes(s);
        return;
    }
    if (c.tipo == kTexto) {
        if (v.isNull()) {
            e.u8(0);
            return;
        }
        const QByteArray s = ansi::aCodigos(v.toString());
        // A text pointer and a timestamp come before a text's value; nobody reads them back.
        e.u8(16).bytes(QByteArray(16, '\x01')).bytes(QByteArray(8, '\0'));
        e.u32(quint32(s.size())).bytes(s);
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
                e.u64(quint64(enteroDe(v)));
            else if (c.largo == 2)
                e.u16(quint16(qint16(enteroDe(v))));
            else
                e.u32(quint32(qint32(enteroDe(v))));
            break;
        case kBitN:
            e.u8(v.toBool() ? 1 : 0);
            break;
        case kFltN: {
            const double d = v.toDouble();
            quint64 x;
            std::memcpy(&x, &d, 8);
            e.u64(x);
            break;
        }
        case kMoneyN: {
            const auto m = quint64(qRound64(v.toDouble() * 10000));
            e.u32(quint32(m >> 32)).u32(quint32(m & 0xFFFFFFFF));
            break;
        }
        case kFechaHoraN: {
            const QDateTime d = v.toDateTime();
            e.u32(quint32(qint32(QDate(1900, 1, 1).daysTo(d.date()))));
            // In 1/300 s, never past the day's last tick.
            e.u32(quint32(std::min<qint64>(qRound64(d.time().msecsSinceStartOfDay() * 0.3),
                                           24 * 3600 * 300 - 1)));
            break;
        }
    }
}

QByteArray conLargo(quint8 token, const QByteArray& cuerpo) {
    Escritor e;
    e.u8(token).u16(quint16(cuerpo.size())).bytes(cuerpo);
    return e.b;
}

QByteArray cambio(quint8 tipo, const QString& nuevo, const QString& viejo) {
    Escritor e;
    e.u8(tipo).bVarChar(nuevo).bVarChar(viejo);
    return conLargo(kCambioEnv, e.b);
}

// A value of a fixed-length type, or of a nullable one of `n` bytes.

}  // namespace

QByteArray Metadatos(const QList<ColumnaTds>& columnas) {
    Escritor e;
    e.u8(kColMetadata).u16(quint16(columnas.size()));
    for (const ColumnaTds& c : columnas) {
        e.u32(0).u16(0x0001 /* nullable */);
        tipoInfo(e, c);
        if (c.tipo == kTexto) e.u8(0);  // the parts of its table's name: none
        e.bVarChar(c.nombre);
    }
    return e.b;
}

QByteArray Fila(const QList<ColumnaTds>& columnas, const QVariantList& valores) {
    Escritor e;
    e.u8(kFila);
    for (int i = 0; i < columnas.size(); ++i) valor(e, columnas[i], valores.value(i));
    return e.b;
}

QByteArray Hecho(quint8 token, quint16 estado, quint64 cuenta) {
    Escritor e;
    e.u8(token).u16(estado).u16(0).u64(cuenta);
    return e.b;
}

QByteArray EstadoRetorno(qint32 v) {
    Escritor e;
    e.u8(kEstadoRetorno).u32(quint32(v));
    return e.b;
}

QByteArray ValorRetorno(quint16 ordinal, const QString& nombre, const ColumnaTds& tipo,
                        const QVariant& v) {
    Escritor e;
    e.u8(kValorRetorno).u16(ordinal).bVarChar(nombre).u8(0x01).u32(0).u16(0x0001);
    tipoInfo(e, tipo);
    valor(e, tipo, v);
    return e.b;
}

QByteArray Mensaje(qint32 numero, quint8 estado, quint8 clase, const QString& texto,
                   const QString& servidor, const QString& procedimiento, qint32 linea) {
    Escritor e;
    e.u32(quint32(numero))
        .u8(estado)
        .u8(clase)
        .usVarChar(texto)
        .bVarChar(servidor)
        .bVarChar(procedimiento)
        .u32(quint32(linea));
    return conLargo(clase > 10 ? kError : kInfo, e.b);
}

QByteArray CambioTransaccion(quint8 tipo, quint64 descriptor) {
    Escritor d;
    d.u64(descriptor);
    Escritor e;
    e.u8(tipo);
    if (tipo == kEnvEmpezar)
        e.u8(8).bytes(d.b).u8(0);
    else
        e.u8(0).u8(8).bytes(d.b);
    return conLargo(kCambioEnv, e.b);
}

QByteArray RespuestaPrelogin() {
    // VERSION, ENCRYPTION (not supported: no TLS), INSTOPT, THREADID, MARS.
    const quint8 opciones[] = {0x00, 0x01, 0x02, 0x03, 0x04};
    const QByteArray valores[] = {QByteArray::fromHex("0F0007D00000"), QByteArray(1, '\x02'),
                                  QByteArray(1, '\0'), QByteArray(), QByteArray(1, '\0')};
    QByteArray enc, datos;
    const int base = 5 * 5 + 1;
    for (int i = 0; i < 5; ++i) {
        char x[2];
        enc.append(char(opciones[i]));
        qToBigEndian<quint16>(quint16(base + datos.size()), x);
        enc.append(x, 2);
        qToBigEndian<quint16>(quint16(valores[i].size()), x);
        enc.append(x, 2);
        datos.append(valores[i]);
    }
    enc.append(char(0xFF));
    return enc + datos;
}

QByteArray RespuestaLogin(const QString& base, int tamanoPaquete) {
    Escritor cot;
    cot.u8(kEnvCotejo).u8(5).bytes(kCotejo).u8(0);
    Escritor ack;
    ack.u8(1).u8(0x74).u8(0).u8(0).u8(4).bVarChar(QStringLiteral("Microsoft SQL Server"));
    ack.u8(15).u8(0).u8(0x07).u8(0xD0);  // 15.0.2000
    const QString paquete = QString::number(tamanoPaquete);
    return cambio(kEnvBase, base, QStringLiteral("master")) + conLargo(kCambioEnv, cot.b) +
           cambio(kEnvIdioma, QStringLiteral("us_english"), QString()) +
           conLargo(kLoginAck, ack.b) + cambio(kEnvPaquete, paquete, paquete) + Hecho(kHecho, 0, 0);
}

namespace {

bool leerTodo(int s, char* destino, int n) {
    while (n > 0) {
        const ssize_t r = ::recv(s, destino, size_t(n), 0);
        if (r <= 0) return false;
        destino += r;
        n -= int(r);
    }
    return true;
}

}  // namespace

bool RecibirMensaje(int s, quint8* tipo, QByteArray* cuerpo) {
    cuerpo->clear();
    for (;;) {
        char enc[8];
        if (!leerTodo(s, enc, 8)) return false;
        *tipo = quint8(enc[0]);
        const int largo = qFromBigEndian<quint16>(enc + 2) - 8;
        if (largo < 0) return false;
        QByteArray parte(largo, '\0');
        if (largo > 0 && !leerTodo(s, parte.data(), largo)) return false;
        cuerpo->append(parte);
        if (enc[1] & 0x01) return true;
    }
}

bool EnviarMensaje(int s, const QByteArray& datos, int tamanoPaquete, quint16 spid) {
    const int maximo = qBound(512, tamanoPaquete, 32767) - 8;
    qsizetype p = 0;
    quint8 numero = 1;
    do {
        const int n = int(std::min<qsizetype>(maximo, datos.size() - p));
        QByteArray paquete(8, '\0');
        paquete[0] = char(kPaqueteRespuesta);
        paquete[1] = char(p + n >= datos.size() ? 0x01 : 0x00);
        qToBigEndian<quint16>(quint16(n + 8), paquete.data() + 2);
        qToBigEndian<quint16>(spid, paquete.data() + 4);
        paquete[6] = char(numero++);
        paquete.append(datos.mid(p, n));
        if (::send(s, paquete.constData(), size_t(paquete.size()), MSG_NOSIGNAL) != paquete.size())
            return false;
        p += n;
    } while (p < datos.size());
    return true;
}

}  // namespace tds
