#pragma once
// A long loop on the interface's thread (a list read row by row) calls this after each row: now
// and then, at most every few tens of milliseconds, the window events run, so the windows do
// not freeze. Inside a long work (TrabajoLargo) its progress shows and the clerk's input is
// held for later; a stop throws TrabajoDetenido. Elsewhere PulsarEventos: the user's keys and
// clicks only while a window opens, held for it.
#include <QElapsedTimer>

#include "ui/teclado.h"
#include "ui/trabajo_largo.h"

class PulsoEventos {
  public:
    PulsoEventos() { reloj_.start(); }

    void operator()() {
        if (++filas_ % 8 != 0 || reloj_.elapsed() < IntervaloMs) return;
        if (TrabajoLargo* trabajo = TrabajoLargo::Actual()) {
            if (trabajo->atender(filas_)) throw TrabajoDetenido();
        } else {
            PulsarEventos();
        }
        reloj_.restart();
    }

    static inline int IntervaloMs = 30;

  private:
    int filas_ = 0;
    QElapsedTimer reloj_;
};
