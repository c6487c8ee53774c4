#pragma once
// The date picker of the windows: a date box shown dd/mm/yyyy with a calendar to drop down.
#include <QDateEdit>

class SelectorFecha : public QDateEdit {
    Q_OBJECT
  public:
    // Starts on today's date.
    explicit SelectorFecha(QWidget* parent = nullptr);

    QDate fecha() const { return date(); }
    void ponerFecha(const QDate& fecha) { setDate(fecha); }
};
