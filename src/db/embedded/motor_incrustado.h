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
    // Opens (creating the folder and the empty schema when missing) the two files in `carpeta`.
    explicit MotorIncrustado(const QString& carpeta);
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

    sqlite3* manejador() const { return db_; }
    const QString& carpeta() const;
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
    void exec(const QString& sql);

    sqlite3* db_ = nullptr;
    std::unique_ptr<Interno> d_;
};

}  // namespace db
