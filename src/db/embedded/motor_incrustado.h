#pragma once
// The company's SQL Server emulated on SQLite: two files, erp_oxa.sqlite (the connection's
// default database) and norv.sqlite, running the program's statements unchanged.
#include <QString>
#include <memory>

#include "db/motor.h"

struct sqlite3;

namespace db {

class MotorIncrustado : public Motor {
  public:
    // Opens the two files in `carpeta`; when neither is there, creates them (and the folder)
    // with the empty schema. One file without the other, an empty file, a file that is no
    // database or lacks tables of the schema is an ErrorBD naming it. `aviso` is told of every
    // wait for another station's lock.
    explicit MotorIncrustado(const QString& carpeta, AvisoEspera aviso = AvisoEspera());
    ~MotorIncrustado() override;
    MotorIncrustado(const MotorIncrustado&) = delete;
    MotorIncrustado& operator=(const MotorIncrustado&) = delete;

    std::unique_ptr<Resultado> consultar(const QString& sql) override;
    long long ejecutar(const QString& sql) override;
    std::unique_ptr<Resultado> llamar(const QString& procedimiento,
                                      QList<Parametro>& parametros) override;
    void iniciarTransaccion() override;
    void confirmarTransaccion() override;
    void deshacerTransaccion() override;
    void avisarEspera(AvisoEspera aviso) override;
    // While the notice of long work runs, every other statement is refused: SQLite takes none
    // on the connection meanwhile.
    void avisarTrabajo(AvisoTrabajo aviso) override;
    // How long a statement works before the notice is told, and again between notices (30 ms).
    void intervaloTrabajo(int milisegundos);
    // How long a statement waits for a lock before it is the "ocupada" failure (5 s).
    void limiteEspera(int milisegundos);

    sqlite3* manejador() const { return db_; }
    const QString& carpeta() const;
    // True when this opening found neither file and created both with the empty schema.
    bool creadaVacia() const;
    // Statements translated so far; a text already run again costs no new translation.
    long long traducciones() const;

    static QString archivoErp() { return QStringLiteral("erp_oxa.sqlite"); }
    static QString archivoNorv() { return QStringLiteral("norv.sqlite"); }

    struct Preparada;  // a translated, prepared statement (shared with the cursors reading it)

  private:
    struct Interno;
    std::shared_ptr<Preparada> preparar(const QString& sql);
    std::unique_ptr<Resultado> correr(const QString& sql, long long* cambios);
    void abrir();
    void exec(const QString& sql, const QString& contexto = QString());
    // Every call into SQLite starts here: refused while the notice of long work runs.
    void empezarTrabajo() const;
    // Text indexes of tables another program wrote into, put back in the engine's order.
    void rehacerIndices(const QString& contexto);

    sqlite3* db_ = nullptr;
    std::unique_ptr<Interno> d_;
};

}  // namespace db
