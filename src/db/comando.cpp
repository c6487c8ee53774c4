#include "db/comando.h"

#include "db/conexion.h"
#include "db/error_bd.h"

namespace db {

Comando::Comando(Conexion& conexion, QString procedimiento)
    : conexion_(conexion), procedimiento_(std::move(procedimiento)) {}

void Comando::agregarParametro(const QString& nombre, TipoParametro tipo, Direccion direccion,
                               int tamano, const QVariant& valor) {
    parametros_.append(Parametro{nombre, tipo, direccion, tamano, valor});
}

void Comando::ejecutar() { ejecutarConResultado(); }

std::unique_ptr<Resultado> Comando::ejecutarConResultado() {
    for (Parametro& p : parametros_)
        if (p.direccion == Direccion::Salida) p.valor = QVariant();
    return conexion_.llamar(procedimiento_, parametros_);
}

QVariant Comando::parametro(const QString& nombre) const {
    for (const Parametro& p : parametros_)
        if (p.nombre.compare(nombre, Qt::CaseInsensitive) == 0) return p.valor;
    throw ErrorBD(QStringLiteral("El parámetro %1 no existe en la llamada a %2.")
                      .arg(nombre, procedimiento_));
}

}  // namespace db
