#include "ui/valor_celda.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

void Digitos(char16_t*& p, int n, int cuantos) {
    for (int i = cuantos - 1; i >= 0; --i, n /= 10) p[i] = char16_t(u'0' + n % 10);
    p += cuantos;
}

}  // namespace

// Written by hand, as the lists show thousands of dates.
QString TextoFecha(const QDate& dia, const QTime& hora) {
    if (!dia.isValid()) return QString();
    int a = 0, m = 0, d = 0;
    dia.getDate(&a, &m, &d);
    if (a < 0 || a > 9999) {
        const QString t = dia.toString(QStringLiteral("dd/MM/yyyy"));
        return hora == QTime(0, 0) ? t : t + hora.toString(QStringLiteral(" HH:mm:ss"));
    }
    char16_t b[19];
    char16_t* p = b;
    Digitos(p, d, 2);
    *p++ = u'/';
    Digitos(p, m, 2);
    *p++ = u'/';
    Digitos(p, a, 4);
    if (hora != QTime(0, 0)) {
        *p++ = u' ';
        Digitos(p, hora.hour(), 2);
        *p++ = u':';
        Digitos(p, hora.minute(), 2);
        *p++ = u':';
        Digitos(p, hora.second(), 2);
    }
    return QString(reinterpret_cast<const QChar*>(b), p - b);
}

QString TextoDeCelda(const QVariant& valor) {
    const int tipo = valor.typeId();
    if (tipo == QMetaType::QString) return *static_cast<const QString*>(valor.constData());
    if (valor.isNull()) return QString();
    switch (tipo) {
        case QMetaType::QDateTime: {
            const QDateTime momento = valor.toDateTime();
            return TextoFecha(momento.date(), momento.time());
        }
        case QMetaType::QDate:
            return TextoFecha(valor.toDate(), QTime(0, 0));
        case QMetaType::Bool:
            return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
        default:
            return valor.toString();
    }
}

QString TextoExactoDeCelda(const QVariant& valor) {
    if (valor.isNull()) return QString();
    if (valor.typeId() == QMetaType::Double || valor.typeId() == QMetaType::Float) {
        // Every digit the value has and no more: what shows is what is stored, and written
        // back it reads as the same number (a guard compares it so).
        const QString texto =
            QString::number(valor.toDouble(), 'f', QLocale::FloatingPointShortest);
        return texto == QLatin1String("-0") ? QStringLiteral("0") : texto;
    }
    return TextoDeCelda(valor);
}

bool EsNumeroDeCelda(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

bool CeldaMarcada(const QVariant& valor) {
    if (valor.isNull()) return false;
    if (valor.typeId() == QMetaType::Bool) return valor.toBool();
    bool esNumero = false;
    const double numero = valor.toDouble(&esNumero);
    return esNumero && numero == 1.0;
}

bool PareceNumero(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^-?(0|[1-9][0-9]{0,8})(\\.[0-9]+)?$"));
    return numero.match(texto).hasMatch();
}

QDateTime FechaDeTextoCelda(const QString& texto, bool* conHora) {
    if (conHora) *conHora = false;
    const QDate dia = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
    if (dia.isValid()) return QDateTime(dia, QTime(0, 0));
    const QDateTime momento = QDateTime::fromString(texto, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (momento.isValid() && conHora) *conHora = true;
    return momento;
}
