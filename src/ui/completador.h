#pragma once
// Completes a box from a list without regard to case or accents: "alv" finds "ÁLVAREZ".
#include <QCompleter>

class QAbstractItemModel;

class CompletadorSinAcentos : public QCompleter {
    Q_OBJECT
  public:
    // `modelo` is the list's own model (a combo box's), read through a folding view of it.
    CompletadorSinAcentos(QAbstractItemModel* modelo, QObject* parent);

    QStringList splitPath(const QString& ruta) const override;
    QString pathFromIndex(const QModelIndex& indice) const override;
};
