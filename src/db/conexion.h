#pragma once
// The single connection of the whole run. Opening it with the ODBC connection string picks the
// engine: a server written "sqlite:PATH" is the embedded engine, anything else SQL Server.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "db/cadena_conexion.h"
#include "db/motor.h"

namespace db {

class Conexion {
  public:
    using Observador = std::function<void(const QString&)>;

    Conexion();
    ~Conexion();
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    // `carpetaBase` resolves a relative sqlite: path (the configuration folder).
    void abrir(const QString& cadenaConexion, const QString& carpetaBase = QString());
    // Opens on an engine made elsewhere (tests, the demo writer).
    void abrir(std::unique_ptr<Motor> motor);
    void cerrar();
    bool abierta() const { return motor_ != nullptr; }

    std::unique_ptr<Resultado> consultar(const QString& sql);
    long long ejecutar(const QString& sql);
    std::unique_ptr<Resultado> llamar(const QString& procedimiento, QList<Parametro>& parametros);

    // The steps of one unit of work; the windows use them through db::Transaccion.
    void iniciarTransaccion();
    void confirmarTransaccion();
    // Never throws: a failure to undo (the link already gone, which undoes the work on the
    // server anyway) must not hide the failure that led here. `motivo` goes to the log.
    void deshacerTransaccion(const QString& motivo = QString());
    bool enTransaccion() const { return enTransaccion_; }
    // The explanation of the last failure an engine reported through this connection.
    const QString& ultimaFalla() const { return ultimaFalla_; }

    // Every statement text sent (and every procedure call, written as EXEC) is reported to
    // the observers, in order: tests assert on it, --log-sql writes it for support. With
    // `conPasos` the observer is also told the steps of each transaction, as "BEGIN
    // TRANSACTION", "COMMIT TRANSACTION" and "ROLLBACK TRANSACTION -- <motivo>".
    int agregarObservador(Observador o, bool conPasos = false);
    void quitarObservador(int id);

    // Told when a statement waits for another station's lock and when the wait ends; kept for
    // every engine opened afterwards and handed to the one open now.
    void alEsperarBloqueo(AvisoEspera aviso);
    const AvisoEspera& avisoEspera() const { return avisoEspera_; }
    // Told during a long statement (see AvisoTrabajo); kept like the notice of waits.
    void alTrabajar(AvisoTrabajo aviso);

    Motor* motor() { return motor_.get(); }

  private:
    Motor& motorAbierto();
    void informar(const QString& texto, bool esPaso = false);
    // Runs one call into the engine, keeping what a failure said.
    template <class F>
    auto conFalla(F&& llamada) -> decltype(llamada());

    struct Suscrito {
        int id;
        Observador observador;
        bool conPasos;
    };

    std::unique_ptr<Motor> motor_;
    std::vector<Suscrito> observadores_;
    bool enTransaccion_ = false;
    QString ultimaFalla_;
    AvisoEspera avisoEspera_;
    AvisoTrabajo avisoTrabajo_;
    int siguienteId_ = 1;
};

// Text of a procedure call as reported to the observers.
QString textoLlamada(const QString& procedimiento, const QList<Parametro>& parametros);

}  // namespace db
