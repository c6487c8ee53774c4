#pragma once
// A statement's select list declared once, beside its builder: each item as the statement
// writes it and the name it is read by. The statement is written from the list and its reads
// find their columns through it, so moving an item moves its reads with it.
#include <QString>
#include <array>
#include <cstddef>

#include "db/error_bd.h"
#include "db/recordset.h"

namespace db {

template <typename Id>
struct Columna {
    Id id;
    const char* item;   // as the statement writes it (UTF-8)
    const char* alias;  // the name it is read by; nullptr: read by its place in the list
};

template <typename Id, std::size_t N>
using Columnas = std::array<Columna<Id>, N>;

// The items joined by `separador`, in the list's order.
template <typename Id, std::size_t N>
QString ListaSelect(const Columnas<Id, N>& lista, const char* separador) {
    QString r;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) r += QString::fromUtf8(separador);
        r += QString::fromUtf8(lista[i].item);
    }
    return r;
}

// The place of `id` in the list: where a result holds it.
template <typename Id, std::size_t N>
constexpr int Posicion(const Columnas<Id, N>& lista, Id id) {
    for (std::size_t i = 0; i < N; ++i)
        if (lista[i].id == id) return static_cast<int>(i);
    return -1;
}

// The name a column is read by (its alias), for results a grid is filled from.
template <typename Id, std::size_t N>
QString Alias(const Columnas<Id, N>& lista, Id id) {
    const int i = Posicion(lista, id);
    return i < 0 || !lista[i].alias ? QString() : QString::fromUtf8(lista[i].alias);
}

// Where each column of the list is in an open result, found once per result: an aliased one
// by its name (without regard to case), the others by their place. Indexed by the ids, which
// number the list's columns from 0. A result that does not carry the list is an ErrorBD.
template <typename Id, std::size_t N>
class Lectura {
  public:
    Lectura(const Recordset& r, const Columnas<Id, N>& lista) {
        if (r.numeroCampos() != static_cast<int>(N))
            throw ErrorBD(QStringLiteral("El resultado trae %1 campos y se esperaban %2.")
                              .arg(r.numeroCampos())
                              .arg(N));
        for (std::size_t i = 0; i < N; ++i) {
            const Columna<Id>& c = lista[i];
            const int p = c.alias ? r.indiceCampo(QString::fromUtf8(c.alias)) : static_cast<int>(i);
            if (p < 0)
                throw ErrorBD(QStringLiteral("El campo «%1» no existe en el resultado.")
                                  .arg(QString::fromUtf8(c.alias)));
            posiciones_[static_cast<std::size_t>(c.id)] = p;
        }
    }
    int operator[](Id id) const { return posiciones_[static_cast<std::size_t>(id)]; }
    QVariant campo(const Recordset& r, Id id) const { return r.campo((*this)[id]); }

  private:
    std::array<int, N> posiciones_{};
};

}  // namespace db
