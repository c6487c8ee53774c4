#pragma once
// Draws and edits the cells of a Rejilla by their column's kind: a line of text, a drop-down
// list holding exactly the entries of its named list, or a centred check box.
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <functional>

class ModeloRejilla;

class DelegadoRejilla : public QStyledItemDelegate {
    Q_OBJECT
  public:
    DelegadoRejilla(ModeloRejilla* modelo, QObject* parent = nullptr);

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override;
    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const override;
    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo,
                      const QModelIndex& indice) const override;
    // A cell too narrow for its text shows the whole text as its tool tip; any other cell
    // leaves the grid's own tool tip.
    bool helpEvent(QHelpEvent* evento, QAbstractItemView* vista, const QStyleOptionViewItem& opcion,
                   const QModelIndex& indice) override;
    // Whether the cell's text is cut (drawn with "…") in that place.
    bool textoCortado(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const;

    // What a text cell keeps of what was typed or pasted: line breaks and tabs as blanks, any
    // other control character dropped (a cell is one line, and so is the column behind it).
    static QString SinControles(const QString& texto);

    // Off while the skin has rules of its own for the cells (::item): the style draws them all.
    bool pinturaPropia = true;

    // Asked before a typed text is kept: the grid lets its window keep it as its column does,
    // or refuse it (false).
    std::function<bool(const QModelIndex& indice, QString& texto)> aceptarTexto;

  private:
    // A text cell as the style draws an item (its background, the selection, the text in its
    // margins, cut with "…"), without the style's per-cell text layout; false when the cell
    // needs the style itself (focus, an editor, a text that is not one plain line).
    bool pintarTexto(QPainter* pintor, const QStyleOptionViewItem& opcion,
                     const QModelIndex& indice) const;
    const QStaticText& textoPreparado(const QString& texto, const QFont& letra) const;

    ModeloRejilla* modelo_;
    // Each text laid out once in the grid's font: a list shows the same branches, states and
    // dates down its rows and again after every search.
    mutable QHash<QString, QStaticText> preparados_;
    mutable QFont letraPreparados_;
    mutable const QStyle* estiloMargen_ = nullptr;
    mutable int margen_ = 0;
};
