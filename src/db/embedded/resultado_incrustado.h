#pragma once
// A result already in memory: a procedure's rows, or the empty result of a statement that
// changes rows. SELECTs are read through the engine's cursor instead.
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <vector>

#include "db/motor.h"

namespace db::incrustado {

class ResultadoIncrustado : public Resultado {
  public:
    ResultadoIncrustado(QStringList nombres, std::vector<QVector<QVariant>> filas)
        : nombres_(std::move(nombres)), filas_(std::move(filas)) {}

    int columnas() const override { return static_cast<int>(nombres_.size()); }
    QString nombreColumna(int i) const override { return nombres_.value(i); }
    bool siguiente() override {
        if (actual_ < static_cast<long long>(filas_.size())) ++actual_;
        return actual_ < static_cast<long long>(filas_.size());
    }
    QVariant valor(int i) const override {
        if (actual_ < 0 || actual_ >= static_cast<long long>(filas_.size())) return {};
        return filas_[static_cast<size_t>(actual_)].value(i);
    }
    std::size_t filas() const { return filas_.size(); }

  private:
    QStringList nombres_;
    std::vector<QVector<QVariant>> filas_;
    long long actual_ = -1;
};

}  // namespace db::incrustado
