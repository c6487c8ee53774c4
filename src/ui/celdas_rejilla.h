#pragma once
// One column of a grid's cells, kept compact: eight bytes per cell and a kind per cell only when
// the column mixes kinds; every text of the column in one buffer (a text that repeats, as a
// branch or a state down a list, is kept once); only the odd value a window writes kept as a
// QVariant. Rows are numbered from 0 here.
#include <QString>
#include <QVariant>
#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "db/valor_crudo.h"

class CeldasRejilla {
  public:
    int filas() const { return static_cast<int>(datos_.size()); }

    // Room for that many rows and text characters, as the last fill of the grid needed.
    void reservar(int filas, qsizetype caracteres);
    qsizetype caracteres() const { return textos_.largo(); }

    // Appends a cell read from a result; a text is decoded straight into the column's buffer.
    void agregar(const db::ValorCrudo& valor);
    void agregarNulo() { empujar(Tipo::Nulo, 0); }
    void agregarNulos(int cuantas);
    void poner(int fila, const QVariant& valor);
    void quitar(int fila);
    void vaciar();
    // After a fill: gives back what the growing left unused.
    void ajustar();

    QVariant valor(int fila) const;
    // What the cell shows (dates dd/MM/yyyy, with the time when it is not midnight).
    QString texto(int fila) const;
    // The same, a view of the column's buffer, or of `apoyo` written with it.
    QStringView texto(int fila, QString& apoyo) const;
    bool esNumero(int fila) const;
    bool marcada(int fila) const;

  private:
    enum class Tipo : quint8 {
        Nulo,
        Int,         // a QVariant int, as the windows write ticks
        Entero,      // qint64
        Real,        // double
        Texto,       // offset and length in textos_
        TextoVacio,  // ""
        TextoNulo,   // QString()
        Fecha,       // db::FechaCruda
        Bit,         // bool
        Otro         // index in otros_
    };

    // UTF-16 characters one after another, grown without being cleared first.
    class Caracteres {
      public:
        qsizetype largo() const { return largo_; }
        const QChar* datos() const { return datos_.get(); }
        // Room for `cuantos` more characters at the end; largo() does not count them yet.
        QChar* espacio(qsizetype cuantos);
        void fijarLargo(qsizetype largo) { largo_ = largo; }
        void agregar(QStringView texto);
        void ajustar();
        void vaciar();

      private:
        struct Liberar {
            void operator()(QChar* p) const { std::free(p); }
        };
        void cambiarCapacidad(qsizetype capacidad);
        std::unique_ptr<QChar, Liberar> datos_;
        qsizetype largo_ = 0, capacidad_ = 0;
    };

    Tipo tipo(int fila) const { return tipos_.empty() ? uniforme_ : tipos_[size_t(fila)]; }
    void fijarTipo(int fila, Tipo t);
    void empujar(Tipo t, qint64 dato);
    void separarTipos();

    // An offset and a length in textos_, in one number.
    static qint64 Empacar(qsizetype inicio, qsizetype largo) {
        return (qint64(inicio) << 24) | largo;
    }
    static qsizetype Inicio(qint64 d) { return qsizetype(d >> 24); }
    static qsizetype Largo(qint64 d) { return qsizetype(d & 0xFFFFFF); }
    QStringView vista(qint64 d) const { return QStringView(textos_.datos() + Inicio(d), Largo(d)); }

    // The text just written at the end of textos_ from `inicio`: kept, or taken back when the
    // same text is already in the buffer. Returns where it is.
    qint64 guardarTexto(qsizetype inicio);
    void ponerTexto(int fila, QStringView texto);
    void dejar(int fila);
    void compactar();

    std::vector<qint64> datos_;
    // Empty while every cell is of the kind `uniforme_`, as most columns of a result are.
    std::vector<Tipo> tipos_;
    Tipo uniforme_ = Tipo::Nulo;
    Caracteres textos_;
    std::vector<QVariant> otros_;
    // Texts written lately, by a hash of their content: most repeats are found here. A column
    // whose texts do not repeat (telephones, names) stops looking after a while.
    std::array<qint64, 512> recientes_{};
    int buscados_ = 0, hallados_ = 0;
    bool sinRepetidos_ = false;
    qsizetype sobrante_ = 0;  // characters in textos_ that no cell uses any more
};
