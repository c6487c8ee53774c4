#pragma once
// A fresh database for one test: Global's connection opened on it, direct SQLite access to seed
// rows and read what the windows wrote, and the statements the program sent. Either road, as
// SOLICITUDES_CAMINO says: "incrustado" (the default) opens the embedded engine; "odbc" starts
// the SQL Server stand-in on the same files and connects through the real FreeTDS driver, the
// direct access then a connection of its own to the files (SOLICITUDES_TDS sets the stand-in's
// switches: nocount, disparador=N, comentarios-texto, nvarchar, truncado-antiguo, bitacora).
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "db/motor.h"

struct sqlite3;
class ServidorTds;

namespace db {
class MotorIncrustado;
}

class BasePrueba {
  public:
    enum class Camino { Incrustado, Odbc };
    // The road SOLICITUDES_CAMINO chooses.
    static Camino CaminoElegido();

    // Opens Global::Conexion on new, empty files; sets the running branch values given.
    explicit BasePrueba(const QString& centro = QStringLiteral("CHI"),
                        const QString& sucursal = QStringLiteral("1"));
    ~BasePrueba();
    BasePrueba(const BasePrueba&) = delete;
    BasePrueba& operator=(const BasePrueba&) = delete;

    // Runs SQLite text directly (schemas "main" = erp_oxa and "norv"); fails the test on error.
    void sqlite(const QString& sql);
    // First column of the first row, null when there is none.
    QVariant valor(const QString& sql);
    // Every row, columns joined by '|', NULL written as "NULL".
    QStringList filas(const QString& sql);

    QString carpeta() const { return dir_.path(); }
    QString carpetaDatos() const;
    sqlite3* manejador() const;
    // The engine with direct access to the files: the program's own on the embedded road.
    db::MotorIncrustado& motorDirecto() const;

    Camino camino() const { return camino_; }
    // The stand-in the program talks to; null on the embedded road.
    ServidorTds* servidor() const { return servidor_.get(); }
    // The program's ODBC connection string on the ODBC road.
    QString cadenaOdbc() const;
    // Another station on the same road and files: an embedded engine of its own, or another
    // ODBC connection through the same stand-in.
    std::unique_ptr<db::Motor> otraEstacion() const;
    // How long a statement waits for another station's lock before it gives up, on the
    // program's connection and the stations opened afterwards.
    void limiteEspera(int milisegundos);

    // Statements and procedure calls sent through Global::Conexion since the last limpiar().
    QStringList enviadas;
    void limpiar() { enviadas.clear(); }

  private:
    QTemporaryDir dir_;
    Camino camino_;
    std::unique_ptr<ServidorTds> servidor_;
    std::unique_ptr<db::MotorIncrustado> directo_;  // the ODBC road's own
    int limiteEspera_ = 0;
    int observador_ = 0;
};
