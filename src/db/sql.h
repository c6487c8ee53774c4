#pragma once
// How a value is put into a statement: every builder writes its texts, numbers, dates and
// guards through here, so each kind of value is written one way.
#include <QString>
#include <QVariant>

class QDate;

namespace db {

// Every text placed between single quotes in a statement goes through here: a quote inside
// the text is doubled, so a name like O'HIGGINS is stored as typed and cannot end the literal.
inline QString EscaparComillas(const QString& texto) {
    QString r = texto;
    return r.replace(QLatin1Char('\''), QLatin1String("''"));
}

// A text between single quotes: 'O''HIGGINS'.
QString Texto(const QString& texto);

// Every digit: a value read back and compared as it was read, not stored.
constexpr int TodasLasCifras = -1;

// A number written bare, rounded to `decimales` places half away from zero, as the server
// rounds a value it converts to a column of that scale: plain digits, a point only when a
// fraction is left, no trailing zeros, never an exponent. Throws ErrorBD for NaN or infinity.
QString Numero(double numero, int decimales);
// The same from a text that holds a number ("2500.5", " 0045 ", "-3"), rounded on its own
// digits so no binary fraction moves the half. Throws ErrorBD, in Spanish, for a text that is
// not a number: empty, letters, thousands separators, an exponent.
QString Numero(const QString& texto, int decimales);

// A whole number written bare.
QString Entero(qint64 numero);

// A date as the server reads it in a literal: yyyymmdd. Throws ErrorBD for an invalid date.
QString Fecha(const QDate& fecha);

// A guard's test that a text column still holds what was read from it: "col IS NULL" for a
// NULL, otherwise "CAST(col AS nvarchar(max)) = '...'", which the server accepts whether the
// column is varchar, nvarchar, text or ntext.
QString TextoIgual(const QString& columna, const QVariant& valor);

// The number a cell or a box holds (a number, or a text as Numero reads it), for the builders
// that take numbers. Throws ErrorBD when it holds none: NULL, an empty or non-numeric text.
double NumeroDe(const QVariant& valor);
// The same, rounded half away from zero to a whole number.
qint64 EnteroDe(const QVariant& valor);

}  // namespace db
