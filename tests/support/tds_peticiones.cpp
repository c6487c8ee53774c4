#include "tds_peticiones.h"

#include <QDate>
#include <QDateTime>
#include <QtEndian>
#include <cstring>

#include "startup/ansi.h"

namespace tds {

namespace {

bool esTextoNacional(quint8 t) { return t == kNVarChar || t == kNChar; }

QVariant fijo(Lector& l, quint8 tipo, int n) {
    switch (tipo) {
        case kFltN:
        case 0x3E:
        case 0x3B:
            if (n == 8) {
                const quint64 x = l.uN(8);
                double d;
                std::memcpy(&d, &x, 8);
                return d;
            } else {
                const auto x = quint32(l.uN(4));
                float f;
                std::memcpy(&f, &x, 4);
                return double(f);
            }
        case kFechaHoraN:
        case kFechaHora:
        case 0x3A:
            if (n == 8) {
                const auto dias = qint32(l.u32());
                const quint32 tics = l.u32();
                return QDateTime(QDate(1900, 1, 1).addDays(dias),
                                 QTime(0, 0).addMSecs(qRound64(tics / 0.3)));
            } else {
                const quint16 dias = l.u16();
                const quint16 minutos = l.u16();
                return QDateTime(QDate(1900, 1, 1).addDays(dias),
                                 QTime(0, 0).addSecs(minutos * 60));
            }
        case kMoneyN:
        case 0x3C:
        case 0x7A:
            if (n == 8) {
                const quint64 alto = l.u32();
                const quint64 bajo = l.u32();
                return double(qint64((alto << 32) | bajo)) / 10000;
            }
            return double(qint32(l.u32())) / 10000;
        case kBitN:
        case kBit:
            return l.u8() != 0;
        default: {
            const quint64 x = l.uN(n);
            if (n == 1) return qint64(quint8(x));
            if (n == 2) return qint64(qint16(x));
            if (n == 4) return qint64(qint32(x));
            return qint64(x);
        }
    }
}

int largoFijo(quint8 tipo) {
    switch (tipo) {
        case 0x30:  // tinyint
        case kBit:
            return 1;
        case 0x34:  // smallint
            return 2;
        case kInt4:
        case 0x3A:  // smalldatetime
        case 0x3B:  // real
        case 0x7A:  // smallmoney
            return 4;
        case 0x3C:  // money
        case kFechaHora:
        case 0x3E:  // float
        case kInt8:
            return 8;
        default:
            return 0;
    }
}

// Partially length-prefixed: the nvarchar(max) of a long text.
QByteArray plp(Lector& l, bool* nulo) {
    const quint64 total = l.uN(8);
    *nulo = total == ~quint64(0);
    QByteArray r;
    if (*nulo) return r;
    for (;;) {
        const quint32 parte = l.u32();
        if (parte == 0 || l.mal()) break;
        r.append(l.bytes(int(parte)));
    }
    return r;
}

QString desdeUcs2(const QByteArray& b) {
    return QString(reinterpret_cast<const QChar*>(b.constData()), b.size() / 2);
}

bool leerParametro(Lector& l, ParametroTds& p, QString* falla) {
    p.nombre = l.ucs2(l.u8());
    p.estado = l.u8();
    p.tipo = l.u8();
    if (const int n = largoFijo(p.tipo)) {
        p.largo = n;
        p.valor = fijo(l, p.tipo, n);
        return true;
    }
    switch (p.tipo) {
        case kIntN:
        case kBitN:
        case kFltN:
        case kFechaHoraN:
        case kMoneyN: {
            p.largo = l.u8();
            const int n = l.u8();
            if (n) p.valor = fijo(l, p.tipo, n);
            return true;
        }
        case kFechaHora2N: {
            const int escala = l.u8();
            p.largo = 8;
            const int n = l.u8();
            if (n == 0) return true;
            quint64 hora = l.uN(n - 3);
            const quint64 dias = l.uN(3);
            qint64 ms = 0;
            // The time counts units of 10^-scale seconds.
            for (int i = escala; i > 3; --i) hora /= 10;
            ms = qint64(hora);
            for (int i = escala; i < 3; ++i) ms *= 10;
            p.valor = QDateTime(QDate(1, 1, 1).addDays(qint64(dias)), QTime(0, 0).addMSecs(ms));
            return true;
        }
        case kFechaN: {
            p.largo = 3;
            if (l.u8()) p.valor = QDateTime(QDate(1, 1, 1).addDays(qint64(l.uN(3))), QTime(0, 0));
            return true;
        }
        case kNVarChar:
        case kNChar:
        case kVarChar:
        case kChar: {
            const quint16 max = l.u16();
            l.bytes(5);
            const bool nacional = esTextoNacional(p.tipo);
            QByteArray crudo;
            bool nulo = false;
            if (max == 0xFFFF) {
                p.largo = -1;  // (max)
                crudo = plp(l, &nulo);
            } else {
                p.largo = nacional ? max / 2 : max;
                const quint16 n = l.u16();
                nulo = n == 0xFFFF;
                if (!nulo) crudo = l.bytes(n);
            }
            if (!nulo) p.valor = nacional ? desdeUcs2(crudo) : ansi::aTexto(crudo);
            return true;
        }
        case kNTexto:
        case kTexto: {
            p.largo = int(l.u32());
            l.bytes(5);
            const quint32 n = l.u32();
            if (n != 0xFFFFFFFF) {
                const QByteArray crudo = l.bytes(int(n));
                p.valor = p.tipo == kNTexto ? desdeUcs2(crudo) : ansi::aTexto(crudo);
            }
            return true;
        }
        default:
            *falla = QStringLiteral("tipo 0x%1 sin leer").arg(p.tipo, 2, 16, QLatin1Char('0'));
            return false;
    }
}
}  // namespace

Login LeerLogin(const QByteArray& cuerpo) {
    Login r;
    // Little-endian numbers at fixed places, 0 beyond the end.
    auto numero = [&](qsizetype posicion, int bytes) {
        quint32 v = 0;
        for (int i = 0; i < bytes && posicion + i < cuerpo.size(); ++i)
            v |= quint32(quint8(cuerpo.at(posicion + i))) << (8 * i);
        return v;
    };
    // A field: its offset and its length in characters at `posicion`.
    auto crudo = [&](qsizetype posicion) {
        return cuerpo.mid(numero(posicion, 2), 2 * qsizetype(numero(posicion + 2, 2)));
    };
    if (cuerpo.size() < 94) return r;
    r.tamanoPaquete = int(numero(8, 4));
    r.equipo = desdeUcs2(crudo(36));
    r.usuario = desdeUcs2(crudo(40));
    // Each byte of the password has its halves swapped and is xor-ed with 0xA5.
    QByteArray clave = crudo(44);
    for (char& c : clave) {
        const auto b = quint8(quint8(c) ^ 0xA5);
        c = char(quint8((b << 4) | (b >> 4)));
    }
    r.contrasena = desdeUcs2(clave);
    r.aplicacion = desdeUcs2(crudo(48));
    r.base = desdeUcs2(crudo(68));
    return r;
}

Llamada LeerLlamada(const QByteArray& cuerpo) {
    Llamada r;
    Lector l(cuerpo);
    l.saltarEncabezados();
    const quint16 largoNombre = l.u16();
    r.nombre = largoNombre == 0xFFFF ? QStringLiteral("#%1").arg(l.u16()) : l.ucs2(largoNombre);
    l.u16();  // option flags
    while (!l.fin() && !l.mal()) {
        ParametroTds p;
        if (!leerParametro(l, p, &r.falla)) return r;
        r.parametros << p;
    }
    if (l.mal()) r.falla = QStringLiteral("petición truncada");
    return r;
}

QString LeerLote(const QByteArray& cuerpo) {
    const auto encabezados =
        cuerpo.size() >= 4 ? qFromLittleEndian<quint32>(cuerpo.constData()) : 0;
    return desdeUcs2(cuerpo.mid(qsizetype(encabezados)));
}

PeticionTransaccion LeerTransaccion(const QByteArray& cuerpo) {
    PeticionTransaccion r;
    Lector l(cuerpo);
    l.saltarEncabezados();
    r.tipo = l.u16();
    if (r.tipo == kTmEmpezar) {
        l.u8();           // isolation level
        l.bytes(l.u8());  // name
    } else if (r.tipo == kTmConfirmar || r.tipo == kTmDeshacer) {
        l.bytes(l.u8());
        r.empezarOtra = l.u8() != 0;
    }
    return r;
}
}  // namespace tds
