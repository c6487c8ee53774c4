#pragma once
// A stand-in for the company's SQL Server: it speaks TDS 7.4 on 127.0.0.1 to the real FreeTDS
// driver and runs what arrives through the embedded engine, one engine per connection on the
// same two files, as several desks share one database. It answers row counts, errors and
// transactions as SQL Server does, and lets a test change how: NOCOUNT, a trigger's count,
// comentarios as text, errors made up for a request, a link dropped at a chosen point.
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tds_peticiones.h"

// One request as it reached the wire.
struct PeticionTds {
    enum Clase { Lote, Llamada, Transaccion } clase = Lote;
    // The batch's text; the procedure's name ("#n" for system procedure number n); or BEGIN,
    // COMMIT, ROLLBACK for a transaction-manager request (COMMIT+BEGIN when it starts the next).
    QString texto;
    QList<tds::ParametroTds> parametros;
    QString falla;               // what could not be read
    int conexion = 0;            // from 1, in the order the connections logged in
    int indice = 0;              // from 1, on its connection
    bool enTransaccion = false;  // its connection was inside a transaction when it came
};

using CondicionTds = std::function<bool(const PeticionTds&)>;

// Where a dropped link drops: before the request runs, or after it ran but before the reply.
enum class CorteTds { AntesDeCorrer, AntesDeResponder };

class SesionTds;

class ServidorTds {
  public:
    // Listens at once on 127.0.0.1:`puerto` (0: any free port); `carpeta` holds
    // erp_oxa.sqlite and norv.sqlite.
    ServidorTds(QString carpeta, QString usuario, QString contrasena, quint16 puerto = 0);
    ~ServidorTds();
    ServidorTds(const ServidorTds&) = delete;
    ServidorTds& operator=(const ServidorTds&) = delete;

    bool escuchando() const { return escucha_ >= 0; }
    QString falla() const { return falla_; }  // why it does not listen
    quint16 puerto() const { return puerto_; }
    const QString& carpeta() const { return carpeta_; }
    const QString& usuario() const { return usuario_; }
    const QString& contrasena() const { return contrasena_; }

    // Switches, read at each request. Every session starts with NOCOUNT ON, as a server option
    // would set it; SET NOCOUNT OFF still turns it off for that session.
    void ponerNocount(bool si) { nocount_ = si; }
    // After each INSERT/UPDATE/DELETE on a norv table, a trigger's count of `filas` (0: none).
    void ponerConteoDisparador(int filas) { conteoDisparador_ = filas; }
    // The comentarios columns are text: compared with = <> IN they are refused (402).
    void ponerComentariosTexto(bool si) { comentariosTexto_ = si; }
    void ponerNvarchar(bool si) { nvarchar_ = si; }
    // A text too long for its column is the older 8152, without table, column and value.
    void ponerTruncadoAntiguo(bool si) { truncadoAntiguo_ = si; }
    // How long a statement waits for another connection's lock before it is the deadlock
    // victim (5 s by default).
    void ponerLimiteEspera(int milisegundos) { limiteEspera_ = milisegundos; }

    // Every request that meets `condicion` fails with this error instead of running (the
    // first statement of its batch, with the effects SQL Server gives that number).
    void fallar(CondicionTds condicion, qint32 numero, quint8 clase, const QString& texto);
    // The connection whose request meets `condicion` is closed at `cuando`; its engine goes
    // with it, its transaction rolled back.
    void cortar(CondicionTds condicion, CorteTds cuando);
    // Canned reply bytes for a request; an empty reply lets the engine answer.
    void guion(std::function<QByteArray(const PeticionTds&)> guion);
    void quitarReglas();  // the errors, drops and script set so far

    // Conditions for the rules; the rules ask them from the connections' threads.
    static CondicionTds conTexto(const QString& parte);  // batch or procedure name, any case
    static CondicionTds procedimiento(const QString& nombre);
    static CondicionTds enIndice(int indice);
    static CondicionTds dentroDeTransaccion();
    // Only the n-th request (from 1) that meets `condicion`.
    static CondicionTds laEnesima(int n, CondicionTds condicion);

    void cortarConexiones();  // drops every open connection now, and waits until they are gone
    void detener();           // stops listening and drops everything
    bool reanudar();          // listens again on the same port, with the same data

    QList<PeticionTds> peticiones() const;
    // Calls to procedures by name (Qt's and the driver's own requests travel as batches or
    // as system procedures called by number).
    QList<PeticionTds> llamadas() const;
    void olvidarPeticiones();
    int conexionesAbiertas() const;
    // Told one line for each request, from the connections' threads.
    void bitacora(std::function<void(const QString&)> escribir);

  private:
    friend class SesionTds;
    struct Regla {
        CondicionTds condicion;
        bool corta = false;
        CorteTds cuando = CorteTds::AntesDeCorrer;
        qint32 numero = 0;
        quint8 clase = 16;
        QString texto;
    };
    struct Conexion {
        int socket = -1;
        std::thread hilo;
        std::atomic<bool> terminada{false};
    };

    bool escuchar();
    void aceptar();
    // For the sessions: what to do with a request that just came.
    void registrar(const PeticionTds& p);
    std::vector<Regla> reglasPara(const PeticionTds& p);
    QByteArray respuestaGuionada(const PeticionTds& p);
    void escribirBitacora(const QString& linea);

    const QString carpeta_, usuario_, contrasena_;
    quint16 puerto_ = 0;
    int escucha_ = -1;
    QString falla_;
    std::thread aceptador_;

    std::atomic<bool> nocount_{false};
    std::atomic<int> conteoDisparador_{0};
    std::atomic<bool> comentariosTexto_{false}, nvarchar_{false}, truncadoAntiguo_{false};
    std::atomic<int> limiteEspera_{5000};

    mutable std::mutex m_;  // what follows
    std::vector<std::unique_ptr<Conexion>> conexiones_;
    int numeroConexiones_ = 0;
    std::vector<Regla> reglas_;
    std::function<QByteArray(const PeticionTds&)> guion_;
    std::function<void(const QString&)> bitacora_;
    QList<PeticionTds> peticiones_;
};
