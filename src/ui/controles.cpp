#include "ui/controles.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto, const QRect& lugar) {
    return Control<QPushButton>(padre, nombre, lugar, texto);
}

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QRect& lugar,
                 QWidget* companero) {
    auto* e = Control<QLabel>(padre, nombre, lugar, texto);
    if (companero) e->setBuddy(companero);
    return e;
}

QLineEdit* Caja(QWidget* padre, const char* nombre, int largo, const QRect& lugar) {
    auto* c = Control<QLineEdit>(padre, nombre, lugar);
    c->setMaxLength(largo);
    return c;
}

QComboBox* Lista(QWidget* padre, const char* nombre, bool editable, const QRect& lugar) {
    auto* c = Control<QComboBox>(padre, nombre, lugar);
    c->setEditable(editable);
    if (editable) c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QGroupBox* Marco(QWidget* padre, const char* nombre, const QString& titulo, const QRect& lugar) {
    return Control<QGroupBox>(padre, nombre, lugar, titulo);
}
