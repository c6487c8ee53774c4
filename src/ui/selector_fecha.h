#pragma once
// The date picker of the windows: a date box shown dd/mm/yyyy with a calendar to drop down.
// Tab leaves it as any other control and Tab or Shift+Tab into it start on the day; Left and
// Right (or typing) move between day, month and year; a whole date typed, with or without its
// slashes, fills day, month and year in turn. F4 and Alt+Down open the calendar.
#include <QDateEdit>

class SelectorFecha : public QDateEdit {
    Q_OBJECT
  public:
    // Starts on today's date.
    explicit SelectorFecha(QWidget* parent = nullptr);

    QDate fecha() const { return date(); }
    void ponerFecha(const QDate& fecha) { setDate(fecha); }

    // Drops the calendar down from the box, as a click on its arrow does; the date stays.
    void abrirCalendario();

  protected:
    bool focusNextPrevChild(bool siguiente) override;
    void focusInEvent(QFocusEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;

  private:
    void irAParte(int parte);
    // The calendar as large as its six weeks need in the font and style it has now.
    void ajustarCalendario();

    // The last digit typed filled its part and the box moved on by itself: a slash typed
    // right after is the one the clerk would have typed there, not a move to the next part.
    bool avanzoSolo_ = false;
};
