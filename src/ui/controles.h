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
