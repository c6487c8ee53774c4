#pragma once
// A fresh embedded database for one test: Global's connection opened on it, direct SQLite
// access to seed rows and read what the windows wrote, and the statements the program sent.
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

struct sqlite3;

class BasePrueba {
public:
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
    sqlite3* manejador() const;

    // Statements and procedure calls sent through Global::Conexion since the last limpiar().
    QStringList enviadas;
    void limpiar() { enviadas.clear(); }

private:
    QTemporaryDir dir_;
    int observador_ = 0;
};
