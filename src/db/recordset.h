#pragma once
// The program's read pattern: open a forward-only, read-only result on a statement text, test
// EOF/BOF, read fields by position or by name, move on, close.
#include <QString>
#include <QVariant>
#include <memory>

#include "db/motor.h"

namespace db {

class Conexion;

class Recordset {
  public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Positions on the first row; with no rows both EOF and BOF hold.
    void abrir(const QString& sql, Conexion& conexion);
    void cerrar();
    bool abierto() const { return resultado_ != nullptr; }

    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void siguiente();

    int numeroCampos() const;
    QString nombreCampo(int i) const;
    // -1 when no field has that name (compared without regard to case).
    int indiceCampo(const QString& nombre) const;
    QVariant campo(int i) const;
    QVariant campo(const QString& nombre) const;
    // Every field of the current record at once, into numeroCampos() values.
    void filaCruda(ValorCrudo* valores) const;

  private:
    void exigirFila() const;
    void exigirCampo(int i) const;

    std::unique_ptr<Resultado> resultado_;
    bool eof_ = true;
    bool bof_ = true;
};

}  // namespace db
