#pragma once
// A long loop on the interface's thread (a list read row by row) calls this after each row: now
// and then, at most every few tens of milliseconds, the window events run (PulsarEventos: the
// user's keys and clicks only while a window opens, held for it), so the windows do not freeze.
#include <QElapsedTimer>

#include "ui/ventana.h"

class PulsoEventos {
  public:
    PulsoEventos() { reloj_.start(); }

    void operator()() {
        if (++filas_ % 8 != 0 || reloj_.elapsed() < IntervaloMs) return;
        PulsarEventos();
        reloj_.restart();
    }

    static constexpr int IntervaloMs = 30;

  private:
    int filas_ = 0;
    QElapsedTimer reloj_;
};
