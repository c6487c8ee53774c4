#pragma once
// A long loop on the interface's thread (a list read row by row) calls this after each row: now
// and then, at most every few tens of milliseconds, the window events that are not the user's
// run (repaints, timers), so the windows do not freeze; keys and clicks wait for the end.
#include <QCoreApplication>
#include <QElapsedTimer>

class PulsoEventos {
  public:
    PulsoEventos() { reloj_.start(); }

    void operator()() {
        if (++filas_ % 8 != 0 || reloj_.elapsed() < IntervaloMs) return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        reloj_.restart();
    }

    static constexpr int IntervaloMs = 30;

  private:
    int filas_ = 0;
    QElapsedTimer reloj_;
};
