#pragma once
// The date picker of the windows: a date box shown dd/mm/yyyy with a calendar to drop down.
// Tab leaves it as any other control; Left and Right (or typing) move between day, month and
// year.
#include <QDateEdit>

class SelectorFecha : public QDateEdit {
    Q_OBJECT
  public:
    // Starts on today's date.
    explicit SelectorFecha(QWidget* parent = nullptr);

    QDate fecha() const { return date(); }
    void ponerFecha(const QDate& fecha) { setDate(fecha); }

  protected:
    bool focusNextPrevChild(bool siguiente) override;
    void keyPressEvent(QKeyEvent* evento) override;
};
