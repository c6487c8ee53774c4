#pragma once
// SQL Server over Qt's ODBC driver: every statement goes to the server verbatim.
#include <QString>
#include <QVariant>

#include "db/error_bd.h"
#include "db/motor.h"

class QSqlDatabase;
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

    // What follows every statement without a result in its batch, so that the statement's own
    // count comes back whatever the server's NOCOUNT setting and its triggers report.
    static QString sufijoConteo() { return QStringLiteral("\nSELECT @@ROWCOUNT"); }

  private:
    // Opens the Qt connection with the string and the log-in time-out; throws ErrorBD.
    void conectar();
    // The open connection for the next statement. After a dropped link it connects again,
    // unless a transaction was under way: that work is gone with the link, and its statements
    // must fail until the transaction is undone.
    QSqlDatabase base();
    // The driver's failure told for the clerk; `contexto` says what was being done. A link
    // that no longer answers once connected is a lost connection, and is marked so.
    ErrorBD falloDe(const QSqlError& e, const QString& contexto);
    bool enlaceMuerto() const;

    QString cadena_;
    int segundosEspera_;
    QString nombreConexion_;
    QString servidor_;
    QString controlador_;  // the name in Driver={...}
    bool enTransaccion_ = false;
    bool perdida_ = false;
};

}  // namespace db
