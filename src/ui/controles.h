#pragma once
// Every control of a window is made the same way: the name tests and tools find it by, and its
// place from the design (RectTwips).
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

// Creates a T with `argumentos` before the parent (a caption, for labels, buttons and frames).
template <class T, class... Argumentos>
T* Control(QWidget* padre, const char* nombre, const QRect& lugar, Argumentos&&... argumentos) {
    auto* control = new T(std::forward<Argumentos>(argumentos)..., padre);
    control->setObjectName(QLatin1String(nombre));
    control->setGeometry(lugar);
    return control;
}

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto, const QRect& lugar);
// With a companion, the label's access key takes the keyboard there.
QLabel* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QRect& lugar,
                 QWidget* companero = nullptr);
// A text box of at most `largo` characters.
QLineEdit* Caja(QWidget* padre, const char* nombre, int largo, const QRect& lugar);
// An editable list takes only its entries' texts (nothing typed is added to it).
QComboBox* Lista(QWidget* padre, const char* nombre, bool editable, const QRect& lugar);
QGroupBox* Marco(QWidget* padre, const char* nombre, const QString& titulo, const QRect& lugar);
