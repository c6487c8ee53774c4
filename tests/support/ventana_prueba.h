#pragma once
// Opening a window in a test as the program does: shown, activated, with the keyboard in it.
#include <QTest>
#include <memory>

template <class Ventana, class... Argumentos>
std::unique_ptr<Ventana> AbrirVentana(Argumentos&&... argumentos) {
    auto v = std::make_unique<Ventana>(std::forward<Argumentos>(argumentos)...);
    v->show();
    v->activateWindow();
    if (!QTest::qWaitForWindowActive(v.get()))
        QTest::qFail("la ventana no llegó a activarse", __FILE__, __LINE__);
    return v;
}
