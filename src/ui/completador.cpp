#include "ui/completador.h"

#include <QIdentityProxyModel>

#include "ui/filtros.h"

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

}  // namespace

CompletadorSinAcentos::CompletadorSinAcentos(QAbstractItemModel* modelo, QObject* parent)
    : QCompleter(parent) {
    auto* vista = new VistaSinAcentos(this);
    vista->setSourceModel(modelo);
    setModel(vista);
    setCompletionRole(RolSinAcentos);
    setCaseSensitivity(Qt::CaseInsensitive);
}

QStringList CompletadorSinAcentos::splitPath(const QString& ruta) const {
    return {TextoSinAcentos(ruta)};
}

QString CompletadorSinAcentos::pathFromIndex(const QModelIndex& indice) const {
    // What goes into the box is the entry as listed, accents and all.
    return indice.data(Qt::DisplayRole).toString();
}
