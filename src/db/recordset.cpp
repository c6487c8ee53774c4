#include "db/recordset.h"

#include "db/conexion.h"
#include "db/error_bd.h"

namespace db {

void Recordset::abrir(const QString& sql, Conexion& conexion) {
    cerrar();
    resultado_ = conexion.consultar(sql);
    eof_ = !resultado_->siguiente();
    bof_ = eof_;
}

void Recordset::cerrar() {
    resultado_.reset();
    eof_ = bof_ = true;
}

void Recordset::siguiente() {
    exigirFila();
    eof_ = !resultado_->siguiente();
}

int Recordset::numeroCampos() const { return resultado_ ? resultado_->columnas() : 0; }

QString Recordset::nombreCampo(int i) const {
    return resultado_ ? resultado_->nombreColumna(i) : QString();
}

int Recordset::indiceCampo(const QString& nombre) const {
    for (int i = 0; i < numeroCampos(); ++i)
        if (resultado_->nombreColumna(i).compare(nombre, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void Recordset::exigirFila() const {
    if (!resultado_) throw ErrorBD(QStringLiteral("El conjunto de registros está cerrado."));
    if (eof_)
        throw ErrorBD(QStringLiteral("No hay registro actual: se llegó al final de los datos."));
}

void Recordset::filaCruda(ValorCrudo* valores) const {
    exigirFila();
    resultado_->filaCruda(valores);
}

void Recordset::exigirCampo(int i) const {
    exigirFila();
    if (i < 0 || i >= resultado_->columnas())
        throw ErrorBD(QStringLiteral("El campo %1 no existe en el resultado.").arg(i));
}

QVariant Recordset::campo(int i) const {
    exigirCampo(i);
    return resultado_->valor(i);
}

QVariant Recordset::campo(const QString& nombre) const {
    exigirFila();
    const int i = indiceCampo(nombre);
    if (i < 0)
        throw ErrorBD(QStringLiteral("El campo «%1» no existe en el resultado.").arg(nombre));
    return resultado_->valor(i);
}

}  // namespace db
