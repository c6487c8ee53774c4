#pragma once
// Inside the demo writer: the dates it writes, and the working office laid over the
// hand-written sample.
#include <QDate>
#include <QDateTime>
#include <QString>

#include "db/embedded/apoyo.h"

struct sqlite3;

namespace demo::detalle {

// A moment `dias` days before today, at the given time, as the engine stores dates.
inline QString Hace(int dias, int hora = 9, int minuto = 0) {
    return db::incrustado::TextoFecha(
        QDateTime(QDate::currentDate().addDays(-dias), QTime(hora, minuto)));
}

// 'yyyymmdd', as the program writes ticket dates.
inline QString DiaTexto(int dias) {
    return QDate::currentDate().addDays(-dias).toString(QStringLiteral("yyyyMMdd"));
}

// About two hundred applications of the last three weeks in both distribution centres, with
// their customers, tickets and batches. Numbers start after the sample's.
void SembrarOficina(sqlite3* db);

}  // namespace demo::detalle
