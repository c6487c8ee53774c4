#pragma once
// What an engine offers the connection: the company's SQL Server over ODBC, or the embedded
// emulation of it on SQLite. Every method throws db::ErrorBD: what happened, in Spanish, and
// the engine's own text.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "db/valor_crudo.h"

namespace db {

// The parameter types that the program's stored-procedure calls use (ADO's numbering).
enum class TipoParametro { Char = 129, Integer = 3, DBTimeStamp = 135 };
enum class Direccion { Entrada = 1, Salida = 2 };

struct Parametro {
    QString nombre;  // with its '@', as the program writes it
    TipoParametro tipo = TipoParametro::Char;
    Direccion direccion = Direccion::Entrada;
    int tamano = 0;
    QVariant valor;  // input value; after execution, the output value (null when none)
};

// A forward-only, read-only result. Before the first siguiente() there is no current row.
class Resultado {
  public:
    virtual ~Resultado() = default;
    virtual int columnas() const = 0;
    virtual QString nombreColumna(int i) const = 0;
    // Moves to the next row; false once the rows are exhausted.
    virtual bool siguiente() = 0;
    // Value of column i of the current row: null, bool (bit columns), qint64, double,
    // QDateTime (date columns) or QString.
    virtual QVariant valor(int i) const = 0;
    // The same value without a QVariant, for readers that keep whole results (the grid).
    // A text's bytes stay valid until the next siguiente().
    virtual void valorCrudo(int i, ValorCrudo& v) const { CrudoDeVariante(valor(i), v); }
    // Every column of the current row at once: `valores` has room for columnas().
    virtual void filaCruda(ValorCrudo* valores) const {
        for (int i = 0; i < columnas(); ++i) valorCrudo(i, valores[i]);
    }
};

// Told true when a statement starts waiting for a lock another station holds, and false when
// that wait is over (the lock obtained or given up), so that the program can show it is busy.
using AvisoEspera = std::function<void(bool esperando)>;
// Told now and then while one statement works a long time (a large sort before its first row)
// or waits for another station's lock, so that the program can repaint its windows meanwhile.
// True stops the statement: it fails (a wait, as "ocupada").
using AvisoTrabajo = std::function<bool()>;

class Motor {
  public:
    virtual ~Motor() = default;
    virtual std::unique_ptr<Resultado> consultar(const QString& sql) = 0;
    // Runs a statement without a result; returns the rows it changed.
    virtual long long ejecutar(const QString& sql) = 0;
    // Runs a stored procedure with its parameters in order; output values are written back
    // into `parametros`. Returns the procedure's first result set, or null when it has none.
    virtual std::unique_ptr<Resultado> llamar(const QString& procedimiento,
                                              QList<Parametro>& parametros) = 0;
    // One unit of work, for the saves that must land whole or not at all.
    virtual void iniciarTransaccion() = 0;
    virtual void confirmarTransaccion() = 0;
    virtual void deshacerTransaccion() = 0;
    // Engines that wait for locks themselves tell their waits here; SQL Server waits on its side.
    virtual void avisarEspera(AvisoEspera aviso) { (void)aviso; }
    // Engines that run statements in this process tell their long work here.
    virtual void avisarTrabajo(AvisoTrabajo aviso) { (void)aviso; }
};

}  // namespace db
