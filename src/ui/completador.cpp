#include "ui/completador.h"

#include <QAbstractItemView>
#include <QIdentityProxyModel>
#include <QPointer>
#include <QStyledItemDelegate>

#include "ui/filtros.h"
#include "ui/ventana.h"

namespace {

constexpr int RolSinAcentos = Qt::UserRole + 100;

// The list as it is, plus each entry's text folded for the match.
class VistaSinAcentos : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& indice, int rol) const override {
        if (rol != RolSinAcentos) return QIdentityProxyModel::data(indice, rol);
        return TextoSinAcentos(QIdentityProxyModel::data(indice, Qt::DisplayRole).toString());
    }
};

// The list's own way of drawing its names, in rows as tall as the grids': Qt's are as tall as
// the text alone, which cuts the accent of a capital ("ÁLVAREZ").
class RenglonesAltos : public QStyledItemDelegate {
  public:
    RenglonesAltos(QAbstractItemDelegate* propio, QAbstractItemView* lista)
        : QStyledItemDelegate(lista), propio_(propio), lista_(lista) {}

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override {
        if (propio_)
            propio_->paint(pintor, opcion, indice);
        else
            QStyledItemDelegate::paint(pintor, opcion, indice);
    }
    QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
        QSize tamano = propio_ ? propio_->sizeHint(opcion, indice)
                               : QStyledItemDelegate::sizeHint(opcion, indice);
        tamano.setHeight(std::max(tamano.height(), AltoRenglon(lista_->fontMetrics())));
        return tamano;
    }

  private:
    QPointer<QAbstractItemDelegate> propio_;
    QAbstractItemView* lista_;
};

}  // namespace

CompletadorSinAcentos::CompletadorSinAcentos(QAbstractItemModel* modelo, QObject* parent)
    : QCompleter(parent) {
    auto* vista = new VistaSinAcentos(this);
    vista->setSourceModel(modelo);
    setModel(vista);
    setCompletionRole(RolSinAcentos);
    setCaseSensitivity(Qt::CaseInsensitive);
    QAbstractItemView* lista = popup();
    lista->setItemDelegate(new RenglonesAltos(lista->itemDelegate(), lista));
}

QStringList CompletadorSinAcentos::splitPath(const QString& ruta) const {
    return {TextoSinAcentos(ruta)};
}

QString CompletadorSinAcentos::pathFromIndex(const QModelIndex& indice) const {
    // What goes into the box is the entry as listed, accents and all.
    return indice.data(Qt::DisplayRole).toString();
}
