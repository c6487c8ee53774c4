#pragma once
// The data grid behind every list of the program. Rows and columns are numbered from 1; row 0
// or below is the header. A new grid is read-only, with no columns and no row colours.
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QPersistentModelIndex>
#include <QTableView>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "ui/modelo_rejilla.h"

namespace db {
class Recordset;
}

class DelegadoRejilla;
class QMenu;

class Rejilla : public QTableView {
    Q_OBJECT
  public:
    explicit Rejilla(QWidget* parent = nullptr);

    ModeloRejilla* modelo() const { return modelo_; }

    // Entries that other parts of the program put in every grid's context menu (the export
    // adds "Copiar" and "Exportar a Excel…"), so the grid need not know them. Called once
    // at start-up; each call adds to the menu after those added before.
    using EntradasMenu = std::function<void(QMenu& menu, Rejilla& rejilla)>;
    static void AgregarEntradasMenu(EntradasMenu entradas);

    // Rows and columns.
    void quitarFilas();
    void quitarFilasYColumnas();
    // Width in pixels; returns the new column's number.
    int agregarColumna(const QString& titulo, int ancho = 80);
    // Returns the new row's number (the last).
    int agregarFila();
    // The rows below move up by one.
    void quitarFila(int fila);
    int numeroFilas() const { return modelo_->numeroFilas(); }
    int numeroColumnas() const { return modelo_->numeroColumnas(); }

    // Cells. An empty cell reads as null; a ticked check box reads 1.
    QVariant valor(int fila, int columna) const { return modelo_->valor(fila, columna); }
    void ponerValor(int fila, int columna, const QVariant& valor);
    // Invalid when the cell has no colour of its own (it then shows the row colour).
    QColor colorFondo(int fila, int columna) const { return modelo_->colorFondo(fila, columna); }
    void ponerColorFondo(int fila, int columna, const QColor& color);
    // The cell's value as text (an amount without its format).
    QString texto(int fila, int columna) const { return modelo_->texto(fila, columna); }
    // What the cell shows, in its column's format.
    QString textoMostrado(int fila, int columna) const {
        return modelo_->textoMostrado(fila, columna);
    }

    // Replaces rows and columns with the open result, read to its end in one pass: one column
    // per field titled with its name, one row per record. The result is left at EOF.
    void llenar(db::Recordset& registros);
    // The rows from the open result into the columns the window made (see
    // ModeloRejilla::llenarColumnas), read to its end.
    void llenarColumnas(db::Recordset& registros,
                        const std::vector<ModeloRejilla::Destino>& destinos,
                        const std::function<void(const db::ValorCrudo*)>& porFila = {});

    QString tituloColumna(int columna) const { return modelo_->tituloColumna(columna); }
    // 0 when no column has that title.
    int buscarColumna(const QString& titulo) const { return modelo_->buscarColumna(titulo); }
    int anchoColumna(int columna) const { return columnWidth(columna - 1); }
    void ponerAnchoColumna(int columna, int ancho);
    // Fits the width to the title and to the cells (a sample of them on long lists).
    void ajustarAncho(int columna);
    // What ajustarAncho would give the column.
    int anchoNecesario(int columna) const;
    // The same, but never narrower than it is: a designed width only grows to show its cells.
    void ensancharAlContenido(int columna);
    // What the column's title needs to be read whole.
    int anchoTitulo(int columna) const;
    void ponerColumnaVisible(int columna, bool visible);

    // Read-only: no cell editor opens (check boxes still tick). Editable: text and list cells
    // edit in place, started by typing, by F2 or Enter, or by a click on the cell that is
    // already current (never by the double-click, which the windows keep for themselves);
    // Escape cancels the edit, Enter commits it, F4 or Alt+Down opens a list cell's list and
    // Delete empties the cell. Each of these asks first (solicitudEdicion).
    void soloLectura(bool si);
    bool esSoloLectura() const { return !modelo_->editable(); }

    void registrarLista(const QString& nombre, const QStringList& entradas);
    void ponerTipoColumna(int columna, TipoCelda tipo, const QString& lista = QString());
    TipoCelda tipoColumna(int columna) const { return modelo_->tipoColumna(columna); }
    void ponerFormatoColumna(int columna, FormatoCelda formato) {
        ++generacion_;
        modelo_->ponerFormatoColumna(columna, formato);
    }
    FormatoCelda formatoColumna(int columna) const { return modelo_->formatoColumna(columna); }

    // What the list is, in a word or two ("Pendientes"): it names the file and the sheet the
    // list is exported to.
    void ponerNombreLista(const QString& nombre) { nombreLista_ = nombre; }
    QString nombreLista() const { return nombreLista_; }

    // The lists paint odd rows with the first colour and even rows with the second.
    void ponerColoresAlternos(const QColor& impares, const QColor& pares);

    // Search by typing: while the grid has the keyboard, typed characters move the current
    // cell to the first row whose cell in the search column begins with them (without regard
    // to case); after a pause the typing starts a new search. Column 0 searches the column of
    // the current cell.
    void ponerBusquedaPorTecleo(bool activa);
    bool busquedaPorTecleo() const { return busquedaActiva_; }
    void ponerColumnaBusqueda(int columna) { columnaBusqueda_ = columna; }
    int columnaBusqueda() const { return columnaBusqueda_; }
    void ponerPausaBusqueda(int milisegundos) { pausaBusqueda_ = milisegundos; }

    // The current cell; 0, 0 when there is none.
    int filaActual() const;
    int columnaActual() const;
    void ponerCeldaActual(int fila, int columna);

    // Whether a cell editor is open.
    bool editando() const { return state() == EditingState; }
    // Hands an open editor's text to its cell and closes it, so what is on screen is what a
    // save reads. False when the window refused the text (see revisarEdicion).
    bool terminarEdicion();

    // The delegate asks before a typed text goes into its cell: revisarEdicion may change it or
    // refuse it. False when refused: the cell keeps its value, edicionRechazada follows once
    // the editor has closed, and the cell is edited again with the refused text in it.
    bool aceptarTexto(const QModelIndex& indice, QString& texto);

    // In a read-only list that acts on a double-click, Enter on the current row does the same.
    void ponerEnterComoDobleClic(bool si) { enterComoDobleClic_ = si; }

    // Drawing off while a window builds or loads a large grid row by row; on again redraws once.
    // Calls pair up: drawing comes back with the last "on".
    void ponerDibujo(bool activo);

  signals:
    void dobleClic(int fila, int columna);
    // Delete pressed on a row of a read-only grid.
    void teclaSuprimir(int fila, int columna);
    void celdaActualCambiada(int fila, int columna);
    // Before any editor opens or a box is ticked; setting `cancelar` refuses the edit.
    void solicitudEdicion(int fila, int columna, bool& cancelar);
    // Before a typed text is stored: `texto` may be changed to what the column keeps; a
    // `rechazo` (the message for the user) refuses it. Nothing may be shown from here.
    void revisarEdicion(int fila, int columna, QString& texto, QString& rechazo);
    // A refused text, once its editor has closed: the window tells the user.
    void edicionRechazada(int fila, int columna, const QString& rechazo);

  protected:
    bool edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void keyboardSearch(const QString& tecleado) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    bool viewportEvent(QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    // Right button, the menu key or Shift+F10: "Copiar" and "Exportar a Excel…".
    void contextMenuEvent(QContextMenuEvent* evento) override;

  private:
    bool permitirEdicion(const QModelIndex& indice);
    void alternarCasilla(const QModelIndex& indice);
    void vaciarCelda(const QModelIndex& indice);
    void abrirLista(const QModelIndex& indice, QKeyEvent* evento);
    void buscarTecleado(const QString& tecleado);
    void alMoverseCeldaActual(const QModelIndex& actual);
    void ajustarAltoFilas();
    int medirNecesario(int columna) const;
    // Widens every column whose title would be cut.
    void asegurarTitulos();
    // Columns a little wider in all than the box give back what their cells do not need, so
    // the list scrolls sideways only when its columns cannot all be read whole in it. Widths
    // the user dragged are left alone.
    void caberEnCuadro();
    void programarCuadro() { cuadro_.start(); }

    ModeloRejilla* modelo_;
    DelegadoRejilla* delegado_;
    QPersistentModelIndex casillaPulsada_;
    QPersistentModelIndex clicSobreActual_;
    QTimer edicionDiferida_;
    QTimer cuadro_;
    QString nombreLista_;
    bool arrastrandoTitulo_ = false;
    bool anchosDelUsuario_ = false;
    bool cabiendo_ = false;
    bool busquedaActiva_ = false;
    bool enterComoDobleClic_ = false;
    bool asegurando_ = false;
    int columnaBusqueda_ = 0;
    int pausaBusqueda_ = 1000;
    bool rechazada_ = false;
    QString prefijo_;
    QElapsedTimer ultimoTecleo_;
    // Rows moved by the program (removal, reload) are not a move of the user's.
    int silencio_ = 0;
    int apagado_ = 0;
    // What each column needs, as measured since the cells last changed (generacion_ counts
    // the changes): a search fits its columns and then fits them in the box.
    mutable std::vector<std::pair<quint64, int>> necesarios_;
    quint64 generacion_ = 1;
    // Characters' widths for the fits, in the font letraAnchos_ (none yet: nothing measured).
    mutable std::array<int, 0x250> anchosLetra_{};
    mutable std::optional<QFont> letraAnchos_;
};

// A colour written as the Windows number the windows were designed with (0xBBGGRR).
QColor ColorDeNumero(long numero);

// Runs `cargar` (opening the result and filling `lista`) as long work of the list's window. A
// stop, in a row or in the statement, leaves the list empty and says so; false then. Other
// failures go on to the caller.
bool CargarLista(Rejilla* lista, const std::function<void()>& cargar);
