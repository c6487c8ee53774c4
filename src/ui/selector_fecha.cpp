#include "ui/selector_fecha.h"

#include <QCalendarWidget>

SelectorFecha::SelectorFecha(QWidget* parent) : QDateEdit(QDate::currentDate(), parent) {
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    // The calendar speaks Spanish and starts the week on Monday, whatever the machine's locale.
    const QLocale espanol(QLocale::Spanish, QLocale::Mexico);
    setLocale(espanol);
    calendarWidget()->setLocale(espanol);
    calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    calendarWidget()->setGridVisible(true);
}
