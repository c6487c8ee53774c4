#include "startup/ansi.h"

#include <array>

namespace ansi {
namespace {

// Code points of 0x80-0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int codigo(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == u) return 0x80 + i;
    return -1;
}

}  // namespace

QString aTexto(const QByteArray& codigos) {
    QString r;
    r.reserve(codigos.size());
    for (char b : codigos) {
        const auto v = static_cast<unsigned char>(b);
        r.append(v >= 0x80 && v < 0xA0 ? QChar(kAlto[v - 0x80]) : QChar(v));
    }
    return r;
}

QByteArray aCodigos(const QString& texto) {
    QByteArray r;
    r.reserve(texto.size());
    for (QChar c : texto) {
        const int v = codigo(c);
        r.append(static_cast<char>(v < 0 ? '?' : v));
    }
    return r;
}

bool representable(const QString& texto) {
    for (QChar c : texto)
        if (codigo(c) < 0) return false;
    return true;
}

}  // namespace ansi
