#pragma once
// The cells behind a Rejilla. Its own API numbers rows and columns from 1, as the windows do;
// the Qt model interface underneath numbers them from 0.
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

#include "ui/celdas_rejilla.h"

namespace db {
class Recordset;
}

enum class TipoCelda { Texto, Lista, Casilla };
// How a column shows its values. An amount shows "$12,500.00", right-aligned; the cell keeps
// its value as it was written, and an editor opens on that plain number.
enum class FormatoCelda { General, Importe };

class ModeloRejilla : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ModeloRejilla(QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int rol = Qt::EditRole) override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

    int numeroFilas() const { return filas_; }
    int numeroColumnas() const { return static_cast<int>(columnas_.size()); }

    void quitarFilas();
    void quitarFilasYColumnas();
    // Return the number of the new column / row.
    int agregarColumna(const QString& titulo);
    int agregarFila();
    void quitarFila(int fila);

    // Outside the grid (the header row 0 included) a cell reads as null and ignores writes.
    QVariant valor(int fila, int columna) const;
    void ponerValor(int fila, int columna, const QVariant& valor);
    // Invalid when the cell has no colour of its own.
    QColor colorFondo(int fila, int columna) const;
    void ponerColorFondo(int fila, int columna, const QColor& color);
    // What the cell is painted on: its own colour, else its row's; invalid: the grid's base.
    QColor fondo(int fila, int columna) const;
    // Numbers and amounts are right-aligned, anything else to the left.
    Qt::Alignment alineacion(int fila, int columna) const;
    // The cell's value as text, as it was written (an amount without its format).
    QString texto(int fila, int columna) const;
    // What the cell shows: its text in the column's format.
    QString textoMostrado(int fila, int columna) const;
    // The same without a copy where the cell keeps it as it shows: a view of the cell, or of
    // `apoyo` written with it, valid until the cells change.
    QStringView textoMostrado(int fila, int columna, QString& apoyo) const;

    // Replaces rows and columns with the open result from its current record to its end: one
    // column per field, titled with the field's name; the values as they come. `entreFilas`
    // runs after each row (to let window events run now and then).
    void llenar(db::Recordset& registros, const std::function<void()>& entreFilas = {});
    // Where a field of the result goes in a grid whose columns the window made: its column (0:
    // none), and, when `comoTexto` is set, the value as that text of it without the blanks
    // around it (a null stays null).
    struct Destino {
        int columna = 0;
        QString (*comoTexto)(const QVariant&) = nullptr;
    };
    // Replaces the rows, keeping the columns as they are (titles, kinds, formats, lists): field
    // i of each record into destinos[i], the other columns empty. `porFila` sees each record's
    // values as read, before `entreFilas`.
    void llenarColumnas(db::Recordset& registros, const std::vector<Destino>& destinos,
                        const std::function<void(const db::ValorCrudo*)>& porFila = {},
                        const std::function<void()>& entreFilas = {});

    QString tituloColumna(int columna) const;
    // 0 when no column has that title (exact first, then without regard to case).
    int buscarColumna(const QString& titulo) const;

    void ponerEditable(bool editable);
    bool editable() const { return editable_; }

    void registrarLista(const QString& nombre, const QStringList& entradas);
    QStringList entradasLista(const QString& nombre) const { return listas_.value(nombre); }
    void ponerTipoColumna(int columna, TipoCelda tipo, const QString& lista = QString());
    TipoCelda tipoColumna(int columna) const;
    QString listaColumna(int columna) const;
    void ponerFormatoColumna(int columna, FormatoCelda formato);
    FormatoCelda formatoColumna(int columna) const;

    // Odd rows (1, 3, ...) take the first, even rows the second; invalid colours paint nothing.
    void ponerColoresAlternos(const QColor& impares, const QColor& pares);

    void alternarCasilla(int fila, int columna);

    // While suspended the views hear nothing; on resuming they reload once. Nested calls count.
    void suspenderAvisos();
    void reanudarAvisos();

  private:
    struct Columna {
        QString titulo;
        TipoCelda tipo = TipoCelda::Texto;
        QString lista;
        FormatoCelda formato = FormatoCelda::General;
        CeldasRejilla celdas;
    };

    bool dentro(int fila, int columna) const {
        return fila >= 1 && fila <= filas_ && columna >= 1 && columna <= numeroColumnas();
    }
    void avisarCambio(int fila, int columna, const QList<int>& roles);
    QString mostrado(const Columna& c, int fila) const;
    // Reads the result to its end into `celdas` (one per field; null: not kept) and puts the
    // rows in place with `ponerEnLugar` in one reset, also when the read fails halfway (the
    // complete rows then).
    void leer(db::Recordset& registros, const std::vector<CeldasRejilla*>& celdas,
              const std::vector<QString (*)(const QVariant&)>& comoTexto,
              const std::function<void(const db::ValorCrudo*)>& porFila,
              const std::function<void()>& entreFilas,
              const std::function<void(int filas)>& ponerEnLugar);
    void reservar(const std::vector<CeldasRejilla*>& celdas) const;
    // What each column took, for the next fill; and gives back what the growing left unused.
    void recordarLlenado(const std::vector<CeldasRejilla*>& celdas);

    std::vector<Columna> columnas_;
    int filas_ = 0;
    // Few cells carry a colour of their own, so only those are kept (0-based row, column).
    std::map<std::pair<int, int>, QColor> colores_;
    QColor colorImpares_, colorPares_;
    QHash<QString, QStringList> listas_;
    bool editable_ = false;
    int suspendido_ = 0;
    // Rows and text characters of each column at the last fill, by column.
    std::vector<std::pair<int, qsizetype>> llenado_;
};
