#include "db/sql.h"

#include <QDate>
#include <QLocale>
#include <cmath>

#include "db/error_bd.h"

namespace db {

namespace {

// A number as its digits: sign, whole part, fraction.
struct Cifras {
    bool negativo = false;
    QString entero;
    QString fraccion;
};

// "[+-]digits[.digits]" with blanks around, at least one digit: the forms the server reads as
// a number literal, without an exponent.
bool LeerCifras(const QString& texto, Cifras& c) {
    const QString t = texto.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        c.negativo = t[i++] == QLatin1Char('-');
    bool punto = false;
    for (; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch == QLatin1Char('.') && !punto) {
            punto = true;
        } else if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
            (punto ? c.fraccion : c.entero) += ch;
        } else {
            return false;
        }
    }
    return !c.entero.isEmpty() || !c.fraccion.isEmpty();
}

ErrorBD NoEsNumero(const QString& texto) {
    return ErrorBD(QStringLiteral("«%1» no es un número: escríbalo solo con cifras y, si lleva "
                                  "decimales, con punto.")
                       .arg(texto));
}

}  // namespace

QString Texto(const QString& texto) {
    return QLatin1Char('\'') + EscaparComillas(texto) + QLatin1Char('\'');
}

QString Numero(const QString& texto, int decimales) {
    Cifras c;
    if (!LeerCifras(texto, c)) throw NoEsNumero(texto);
    if (decimales < 0) decimales = static_cast<int>(c.fraccion.size());
    // On the digits themselves: the half is the digit after the last one kept.
    QString cifras =
        c.entero + c.fraccion.left(decimales).leftJustified(decimales, QLatin1Char('0'));
    bool llevar = c.fraccion.size() > decimales && c.fraccion.at(decimales) >= QLatin1Char('5');
    for (qsizetype i = cifras.size() - 1; llevar && i >= 0; --i) {
        llevar = cifras.at(i) == QLatin1Char('9');
        cifras[i] = llevar ? QLatin1Char('0') : QChar(cifras.at(i).unicode() + 1);
    }
    if (llevar) cifras.prepend(QLatin1Char('1'));
    QString entero = cifras.left(cifras.size() - decimales);
    QString fraccion = cifras.right(decimales);
    while (fraccion.endsWith(QLatin1Char('0'))) fraccion.chop(1);
    qsizetype ceros = 0;
    while (ceros < entero.size() - 1 && entero.at(ceros) == QLatin1Char('0')) ++ceros;
    entero = entero.isEmpty() ? QStringLiteral("0") : entero.mid(ceros);
    const bool cero = entero == QLatin1String("0") && fraccion.isEmpty();
    return (c.negativo && !cero ? QStringLiteral("-") : QString()) + entero +
           (fraccion.isEmpty() ? QString() : QLatin1Char('.') + fraccion);
}

QString Numero(double numero, int decimales) {
    if (!std::isfinite(numero))
        throw ErrorBD(QStringLiteral("El número no es válido: es infinito o indefinido."));
    // Every digit the value has and no more, then rounded on those digits.
    return Numero(QString::number(numero, 'f', QLocale::FloatingPointShortest), decimales);
}

QString Entero(qint64 numero) { return QString::number(numero); }

QString Fecha(const QDate& fecha) {
    if (!fecha.isValid()) throw ErrorBD(QStringLiteral("La fecha no es válida."));
    return fecha.toString(QStringLiteral("yyyyMMdd"));
}

QString TextoIgual(const QString& columna, const QVariant& valor) {
    if (valor.isNull()) return columna + QStringLiteral(" IS NULL");
    return QStringLiteral("CAST(") + columna + QStringLiteral(" AS nvarchar(max)) = ") +
           Texto(valor.toString());
}

double NumeroDe(const QVariant& valor) {
    switch (valor.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Double:
        case QMetaType::Float:
            if (!valor.isNull()) return valor.toDouble();
            break;
        case QMetaType::QString: {
            Cifras c;
            if (LeerCifras(valor.toString(), c)) return valor.toString().trimmed().toDouble();
            break;
        }
        default:
            break;
    }
    throw NoEsNumero(valor.isNull() ? QString() : valor.toString());
}

qint64 EnteroDe(const QVariant& valor) {
    if ((valor.typeId() == QMetaType::LongLong || valor.typeId() == QMetaType::Int) &&
        !valor.isNull())
        return valor.toLongLong();
    const double n = NumeroDe(valor);
    // What a 64-bit number holds; beyond it no key of the database can be.
    if (!(std::fabs(n) < 9.2e18)) throw NoEsNumero(valor.toString());
    return std::llround(n);
}

}  // namespace db
