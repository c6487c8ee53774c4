#pragma once
// SQL Server over Qt's ODBC driver: every statement goes to the server verbatim.
#include <QString>
#include <QVariant>

#include "db/error_bd.h"
#include "db/motor.h"

class QSqlError;

namespace db {

class MotorOdbc : public Motor {
  public:
    // Connects with the ODBC connection string; a server that refuses or never answers is an
    // ErrorBD within the login time-out, never a hang.
    explicit MotorOdbc(const QString& cadenaConexion, int segundosEspera = 15);
    ~MotorOdbc() override;
    MotorOdbc(const MotorOdbc&) = delete;
    MotorOdbc& operator=(const MotorOdbc&) = delete;

    std::unique_ptr<Resultado> consultar(const QString& sql) override;
    long long ejecutar(const QString& sql) override;
    std::unique_ptr<Resultado> llamar(const QString& procedimiento,
                                      QList<Parametro>& parametros) override;
    void iniciarTransaccion() override;
    void confirmarTransaccion() override;
    void deshacerTransaccion() override;

    // What the driver is handed: the program's string unchanged, followed by what FreeTDS needs
    // to behave as the Windows driver does (a TDS version that honours the login time-out, the
    // default port) when the string does not say it already.
    static QString cadenaParaControlador(const QString& cadenaConexion);
    // The value bound for an input parameter, shaped as ADO sends it: fixed-length text
    // blank-padded or cut to its size, integers whole, date-times from their text.
    static QVariant valorDeEntrada(const Parametro& parametro);
    // The call in ODBC escape syntax, one marker per parameter.
    static QString textoLlamadaOdbc(const QString& procedimiento, int parametros);

  private:
    // The driver's failure told for the clerk; `contexto` says what was being done.
    ErrorBD falloDe(const QSqlError& e, const QString& contexto) const;

    QString nombreConexion_;
    QString servidor_;
    QString controlador_;  // the name in Driver={...}
    bool enTransaccion_ = false;
};

}  // namespace db
