#include "db/embedded/espera.h"

#include <sqlite3.h>

#include <algorithm>

namespace db::incrustado {

namespace {

// Short steps, so that a lock released meanwhile is taken soon after.
constexpr qint64 kPasoMs = 20;

void avisar(const AvisoEspera& aviso, bool esperando) noexcept {
    if (!aviso) return;
    // Called from inside SQLite or from a destructor: nothing may leave this function.
    try {
        aviso(esperando);
    } catch (...) {
    }
}

int esperar(void* datos, int intentos) {
    auto& e = *static_cast<EsperaBloqueo*>(datos);
    if (intentos == 0) {
        e.reloj.start();
        e.empezar();
    }
    const qint64 resta = e.limiteMs - e.reloj.elapsed();
    if (resta <= 0) return 0;
    sqlite3_sleep(static_cast<int>(std::min(resta, kPasoMs)));
    if (e.mientras && e.mientras()) return 0;
    return 1;
}

}  // namespace

void EsperaBloqueo::empezar() noexcept {
    if (esperando) return;
    esperando = true;
    avisar(aviso, true);
}

void EsperaBloqueo::terminar() noexcept {
    if (!esperando) return;
    esperando = false;
    avisar(aviso, false);
}

void InstalarEspera(sqlite3* db, EsperaBloqueo* espera) {
    sqlite3_busy_handler(db, esperar, espera);
}

}  // namespace db::incrustado
