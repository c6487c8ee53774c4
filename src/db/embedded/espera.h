#pragma once
// The wait for a lock another station holds: SQLite asks again in small steps up to a limit,
// and the program is told when a wait starts and when it ends, so that it can show it is busy
// instead of freezing in silence.
#include <QElapsedTimer>
#include <functional>

#include "db/motor.h"

struct sqlite3;

namespace db::incrustado {

// How long a statement waits for a lock before it is the "ocupada" failure.
constexpr int kEsperaBloqueoMs = 5000;

struct EsperaBloqueo {
    AvisoEspera aviso;
    // Told at every step of a wait (the windows repaint); true gives the wait up at once.
    std::function<bool()> mientras;
    int limiteMs = kEsperaBloqueoMs;
    bool esperando = false;  // the start was told and the end not yet
    QElapsedTimer reloj;

    void empezar() noexcept;
    void terminar() noexcept;
};

// Makes `db` wait through `espera`, which must outlive the connection's use.
void InstalarEspera(sqlite3* db, EsperaBloqueo* espera);

// Tells the end of a wait, if one started, on the way out of a call into SQLite, whether the
// call succeeded or threw.
class FinDeEspera {
  public:
    explicit FinDeEspera(EsperaBloqueo& espera) : espera_(espera) {}
    ~FinDeEspera() { espera_.terminar(); }
    FinDeEspera(const FinDeEspera&) = delete;
    FinDeEspera& operator=(const FinDeEspera&) = delete;

  private:
    EsperaBloqueo& espera_;
};

}  // namespace db::incrustado
