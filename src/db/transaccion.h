#pragma once
// One unit of work on the connection: every write of several statements lands whole or not at
// all. Begun on construction; undone on destruction unless confirmed, so an early return or a
// failure anywhere in between leaves nothing half-written. The destructor never throws.
#include <QString>
#include <functional>

namespace db {

class Conexion;

class Transaccion {
  public:
    explicit Transaccion(Conexion& conexion);  // throws ErrorBD
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;

    // Throws ErrorBD; the work is then undone by the destructor.
    void confirmar();
    // The same, for work whose result can be looked for afterwards: when the link drops at the
    // commit, `quedoGuardado` (run on a new connection) tells whether the server had committed.
    // Found, the commit counts as done; not found, the failure says nothing was saved; not
    // knowable (the server still away), the failure says so.
    void confirmar(const std::function<bool()>& quedoGuardado);
    // Undoes the work now, saying why in the log ("otra estación tomó la solicitud 8").
    void deshacer(const QString& motivo);

  private:
    Conexion& conexion_;
    bool abierta_ = false;
    int excepciones_;  // in flight when begun: more at destruction means a failure unwinds
};

}  // namespace db
