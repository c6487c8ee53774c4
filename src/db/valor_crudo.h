#pragma once
// A field's value as the engine holds it, for readers that keep many of them (the grid): no
// QVariant, no QString, no QDateTime made per cell. The same value valor() gives, in parts.
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>

namespace db {

struct ValorCrudo {
    enum class Tipo : quint8 { Nulo, Entero, Real, Texto, Fecha, Bit, Otro };
    Tipo tipo = Tipo::Nulo;
    // Entero: the number; Bit: 0 or 1; Fecha: the local date and time, as FechaCruda packs it.
    qint64 entero = 0;
    double real = 0;
    // Texto: its UTF-8 bytes while the engine's row is current; null when the text is in
    // `variante` (engines that hand over QStrings).
    const char* utf8 = nullptr;
    qsizetype bytes = 0;
    // Otro: any other value; Texto without utf8: the QString.
    QVariant variante;
};

// A local date and time in one number: milliseconds since the start of the Julian day 0, read
// as on the wall clock (no time zone looked up).
constexpr qint64 kMsDia = 86400000;
inline qint64 FechaCruda(const QDate& dia, const QTime& hora) {
    return dia.toJulianDay() * kMsDia + hora.msecsSinceStartOfDay();
}
inline QDate DiaDeFechaCruda(qint64 f) { return QDate::fromJulianDay(f / kMsDia); }
inline QTime HoraDeFechaCruda(qint64 f) { return QTime::fromMSecsSinceStartOfDay(int(f % kMsDia)); }
inline QDateTime FechaDeCruda(qint64 f) {
    return QDateTime(DiaDeFechaCruda(f), HoraDeFechaCruda(f));
}

// The value of a QVariant as valor() gives them: null, bool, qint64, double, local QDateTime,
// QString; anything else is Otro.
void CrudoDeVariante(const QVariant& v, ValorCrudo& r);
// 'yyyy-MM-dd HH:mm:ss.zzz', the engine's form of dates, read without a QString; false when the
// bytes are not in that form or not a valid date.
bool LeerFechaCruda(const char* utf8, qsizetype bytes, qint64& fecha);

}  // namespace db
