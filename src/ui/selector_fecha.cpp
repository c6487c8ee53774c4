#include "ui/selector_fecha.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>

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

void SelectorFecha::focusInEvent(QFocusEvent* evento) {
    QDateEdit::focusInEvent(evento);
    avanzoSolo_ = false;
    // From either side the date is typed from its day, as the clerk reads it.
    if (evento->reason() == Qt::TabFocusReason || evento->reason() == Qt::BacktabFocusReason)
        irAParte(0);
}

void SelectorFecha::irAParte(int parte) {
    if (parte < 0 || parte >= sectionCount()) return;
    setCurrentSectionIndex(parte);
    setSelectedSection(sectionAt(parte));
}

void SelectorFecha::ajustarCalendario() {
    QCalendarWidget* calendario = calendarWidget();
    auto* dias = calendario->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    if (!dias) return;
    calendario->ensurePolished();
    dias->ensurePolished();
    // Qt sizes the calendar by its text alone; the rows cannot be shorter than the header's
    // least section, so with the grid, the frame and the skin the last week fell off.
    const int renglones = dias->model() ? dias->model()->rowCount() : 7;
    const int columnas = dias->model() ? dias->model()->columnCount() : 7;
    const int alto =
        std::max(dias->verticalHeader()->minimumSectionSize(), dias->fontMetrics().height() + 4);
    const int ancho = std::max(dias->horizontalHeader()->minimumSectionSize(),
                               dias->fontMetrics().horizontalAdvance(QStringLiteral("mié")) + 8);
    // The skin draws the frame a pixel thicker while the calendar has the keyboard.
    const int marco = 2 * (dias->frameWidth() + 1);
    int barra = 0;
    if (QWidget* navegacion =
            calendario->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar")))
        barra = navegacion->sizeHint().height();
    const QMargins m = calendario->contentsMargins();
    calendario->setMinimumSize(columnas * ancho + marco + m.left() + m.right(),
                               renglones * alto + marco + barra + m.top() + m.bottom());
}

void SelectorFecha::mousePressEvent(QMouseEvent* evento) {
    // The calendar drops down from a press on the arrow, at the size it asks for then.
    ajustarCalendario();
    QDateEdit::mousePressEvent(evento);
}

void SelectorFecha::abrirCalendario() {
    if (isReadOnly() || !calendarPopup() || !isEnabled()) return;
    // QDateEdit opens its calendar only from a press on its arrow; the press goes there.
    QStyleOptionComboBox opcion;
    opcion.initFrom(this);
    opcion.editable = true;
    opcion.subControls = QStyle::SC_All;
    const QRect flecha =
        style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxArrow, this);
    const QPointF punto = flecha.isValid() ? flecha.center() : QPointF(width() - 4, height() / 2);
    QMouseEvent pulsar(QEvent::MouseButtonPress, punto, mapToGlobal(punto), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&pulsar);
    QMouseEvent soltar(QEvent::MouseButtonRelease, punto, mapToGlobal(punto), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
    mouseReleaseEvent(&soltar);
}

void SelectorFecha::keyPressEvent(QKeyEvent* evento) {
    const Qt::KeyboardModifiers mods =
        evento->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // The keys of a drop-down: never a change of the date.
    if ((evento->key() == Qt::Key_F4 && mods == Qt::NoModifier) ||
        (evento->key() == Qt::Key_Down && mods == Qt::AltModifier)) {
        abrirCalendario();
        evento->accept();
        return;
    }
    const bool izquierda = evento->key() == Qt::Key_Left;
    if ((izquierda || evento->key() == Qt::Key_Right) && mods == Qt::NoModifier) {
        // A whole part at a time, as on the desktop's own date picker.
        avanzoSolo_ = false;
        irAParte(currentSectionIndex() + (izquierda ? -1 : 1));
        evento->accept();
        return;
    }
    const QString texto = evento->text();
    const QChar c = texto.size() == 1 ? texto.at(0) : QChar();
    if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
        // A slash after a part the box already left is swallowed; after a short part (5/...)
        // it moves on, keeping what was typed.
        if (!avanzoSolo_) irAParte(currentSectionIndex() + 1);
        avanzoSolo_ = false;
        evento->accept();
        return;
    }
    const int antes = currentSectionIndex();
    QDateEdit::keyPressEvent(evento);
    avanzoSolo_ = c.isDigit() && currentSectionIndex() > antes;
}
