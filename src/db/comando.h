#pragma once
// A stored-procedure call: parameters appended in order, executed, outputs read back by name
// without regard to case.
#include <QList>
#include <QString>
#include <memory>

#include "db/motor.h"

namespace db {

class Conexion;

class Comando {
  public:
    Comando(Conexion& conexion, QString procedimiento);

    void agregarParametro(const QString& nombre, TipoParametro tipo, Direccion direccion,
                          int tamano, const QVariant& valor = QVariant());
    // Executes without a result set.
    void ejecutar();
    // Executes and hands over the procedure's first result set (null when it has none).
    std::unique_ptr<Resultado> ejecutarConResultado();
    // The parameter's value after execution; throws ErrorBD when no parameter has that name.
    QVariant parametro(const QString& nombre) const;

  private:
    Conexion& conexion_;
    QString procedimiento_;
    QList<Parametro> parametros_;
};

}  // namespace db
