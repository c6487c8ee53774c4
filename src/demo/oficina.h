#pragma once
// Inside the demo writer: the dates it writes, and the working office laid over the
// hand-written sample.
#include <QDate>
#include <QDateTime>
#include <QString>

#include "db/embedded/apoyo.h"

struct sqlite3;

namespace demo::detalle {

// A moment `dias` days before today, at the given time, as the engine stores dates. Today's
// moments never lie after the present one: a demo made early in the morning has no
// application received later that day.
inline QString Hace(int dias, int hora = 9, int minuto = 0) {
    QDateTime m(QDate::currentDate().addDays(-dias), QTime(hora, minuto));
    const QDateTime ahora = QDateTime::currentDateTime();
    if (m > ahora) m = QDateTime(ahora.date(), QTime(ahora.time().hour(), 0));
    return db::incrustado::TextoFecha(m);
}

// 'yyyymmdd', as the program writes ticket dates.
inline QString DiaTexto(int dias) {
    return QDate::currentDate().addDays(-dias).toString(QStringLiteral("yyyyMMdd"));
}

// About two hundred applications of the last three weeks in both distribution centres, with
// their customers, tickets and batches. Numbers start after the sample's.
void SembrarOficina(sqlite3* db);

}  // namespace demo::detalle
