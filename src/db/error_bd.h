#pragma once
#include <QString>
#include <exception>
#include <string>

namespace db {

// What kind of failure the engine met, so that the clerk reads what happened and what to do.
enum class TipoFalla {
    Ocupada,              // another station holds the database
    SoloLectura,          // the file, its folder or the server database takes no changes
    DiscoLleno,           // no room left on the database's disk
    EntradaSalida,        // the disk or the network failed reading or writing
    ArchivoDanado,        // a file of the database is missing, empty or damaged
    ControladorFaltante,  // the ODBC driver cannot be loaded
    AccesoRechazado,      // the server refused the log-in, or the system the file
    SinRespuesta,         // the server cannot be reached or does not answer
    ConexionPerdida,      // the link to the server dropped during the work
    Duplicado,            // a row with the same key is already there
    Restriccion,          // the server's rules on the data refused the change
    TextoLargo,           // a text longer than its column
    Otra
};

// A failure reported by the database engine (or the driver): a Spanish sentence saying what
// happened and what to do, and the engine's own text for support. mensaje() is what the windows
// show: the sentence, then "Detalle: " and the engine's text on a line of its own.
class ErrorBD : public std::exception {
  public:
    // A failure of the program's own, already said in Spanish.
    explicit ErrorBD(QString mensaje) : ErrorBD(TipoFalla::Otra, std::move(mensaje), QString()) {}
    ErrorBD(TipoFalla tipo, QString explicacion, QString textoMotor,
            QString codigoNativo = QString())
        : tipo_(tipo),
          explicacion_(std::move(explicacion)),
          textoMotor_(std::move(textoMotor)),
          codigoNativo_(std::move(codigoNativo)),
          mensaje_(textoMotor_.isEmpty()
                       ? explicacion_
                       : explicacion_ + QStringLiteral("\nDetalle: ") + textoMotor_),
          c_(mensaje_.toStdString()) {}

    TipoFalla tipo() const { return tipo_; }
    const QString& explicacion() const { return explicacion_; }
    // Empty when the failure is the program's own.
    const QString& textoMotor() const { return textoMotor_; }
    // The driver's native error numbers as it gave them (SQL Server's, FreeTDS's own); empty
    // for the embedded engine and the program's own failures.
    const QString& codigoNativo() const { return codigoNativo_; }
    const QString& mensaje() const { return mensaje_; }
    const char* what() const noexcept override { return c_.c_str(); }

  private:
    TipoFalla tipo_;
    QString explicacion_;
    QString textoMotor_;
    QString codigoNativo_;
    QString mensaje_;
    std::string c_;
};

}  // namespace db
