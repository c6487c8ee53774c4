#include "ui/selector_fecha.h"

#include <QCalendarWidget>
#include <QKeyEvent>

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

bool SelectorFecha::focusNextPrevChild(bool siguiente) {
    // Qt's date box would spend a Tab on each of its three parts.
    return QWidget::focusNextPrevChild(siguiente);
}

void SelectorFecha::keyPressEvent(QKeyEvent* evento) {
    const bool izquierda = evento->key() == Qt::Key_Left;
    if ((izquierda || evento->key() == Qt::Key_Right) &&
        !(evento->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        // A whole part at a time, as on the desktop's own date picker.
        const int parte = currentSectionIndex() + (izquierda ? -1 : 1);
        if (parte >= 0 && parte < sectionCount()) {
            setCurrentSectionIndex(parte);
            setSelectedSection(sectionAt(parte));
        }
        evento->accept();
        return;
    }
    QDateEdit::keyPressEvent(evento);
}
