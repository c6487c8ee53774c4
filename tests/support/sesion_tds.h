#pragma once
// One connection to the stand-in: its log-in, its own engine on the server's files, its
// session options and transaction, and the replies to its requests.
#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "servidor_tds.h"
#include "tds_errores.h"
#include "tds_sentencias.h"

namespace db {
class MotorIncrustado;
}

class SesionTds {
  public:
    SesionTds(ServidorTds& servidor, int socket, int numero);
    ~SesionTds();
    SesionTds(const SesionTds&) = delete;
    SesionTds& operator=(const SesionTds&) = delete;

    // Until the client leaves, the server drops the link or a rule does.
    void conversar();

  private:
    // The reply bytes and where each DONE of the batch is, to mark all but the last "more".
    struct Respuesta {
        QByteArray b;
        std::vector<qsizetype> hechos;
        void hecho(quint16 estado, quint64 cuenta);
        void error(const tds::ErrorServidor& e, const QString& procedimiento = QString());
        QByteArray terminar();
    };

    bool entrar(const QByteArray& cuerpo);
    PeticionTds leer(quint8 tipo, const QByteArray& cuerpo);
    QByteArray responder(const PeticionTds& p, const std::optional<tds::ErrorServidor>& falla);
    void lote(const PeticionTds& p, std::optional<tds::ErrorServidor> falla, Respuesta& r);
    void llamada(const PeticionTds& p, Respuesta& r);
    void transaccion(const PeticionTds& p, Respuesta& r);
    // A statement for the engine; false when the rest of the batch must not run.
    bool sentencia(const QString& sql, Respuesta& r);
    void variables(const tds::ParteLote& parte, Respuesta& r);
    void opcion(const tds::ParteLote& parte);
    // How a statement of a batch ended: well, with an error, or with one that ends the batch.
    enum class Fin { Bien, Error, Alto };
    // The transaction statements, without their DONE; an error when there is nothing to commit
    // or roll back (none with `siHay`, as IF @@TRANCOUNT > 0 ... has it).
    Fin empezar(Respuesta& r);
    Fin confirmar(Respuesta& r, bool siHay);
    Fin deshacer(Respuesta& r, bool siHay);
    // Before the engine runs anything: its transaction, if the session is inside one.
    bool asegurarTransaccion(Respuesta& r);
    void tiposDeDatos(Respuesta& r);
    // Applies what an error does to the transaction; false when it ends the batch.
    bool fallo(const tds::ErrorServidor& e, Respuesta& r, const QString& procedimiento = QString());
    tds::ErrorServidor errorDe(const std::exception& e, const QString& sentencia,
                               const QString& procedimiento);
    bool nocount() const;
    bool enTransaccion() const { return trancount_ > 0; }
    void enviar(const QByteArray& datos);
    void terminar();

    ServidorTds& servidor_;
    const int socket_;
    const int numero_;
    const quint16 spid_;
    std::unique_ptr<db::MotorIncrustado> motor_;
    int tamanoPaquete_ = 4096;
    int indice_ = 0;
    std::optional<bool> nocount_;  // SET NOCOUNT in this session; else the server's switch
    bool implicitas_ = false;      // SET IMPLICIT_TRANSACTIONS ON
    int trancount_ = 0;
    // The engine's own transaction starts with the first statement inside the session's, as
    // SQL Server takes no lock at BEGIN: the driver begins the next one at every commit.
    bool motorEnTransaccion_ = false;
    quint64 descriptor_ = 0;
    qint64 rowcount_ = 0;
    bool abierta_ = true;
};
