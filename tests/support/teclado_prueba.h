#pragma once
// A clerk typing with no pauses: each key goes where the keyboard is (an open list, else the
// window in front); a message box takes the keys up to the Enter or Escape that closes it; a
// window opened modally takes the keys that follow until it closes. "\n" is Enter, "\t" Tab,
// {Alt+G} or {Down} a named key, {X} the close box of the window in front.
#include <QApplication>
#include <QDialog>
#include <QRegularExpression>
#include <QTest>

#include "servicios_falsos.h"

class Teclista {
  public:
    QStringList visto;  // the messages and the windows' titles, in the order they came up

    explicit Teclista(ServiciosFalsos& s) {
        s.alMostrarMensaje = [this](const MensajeMostrado& m) {
            visto << m.texto;
            ++cajas_;
        };
        s.alMostrarModal = [this](QDialog& v) {
            visto << v.windowTitle();
            teclear(&v);
        };
    }

    void escribir(const QString& guion, QWidget* desde) {
        static const QRegularExpression ficha("\\{[^}]+\\}|.",
                                              QRegularExpression::DotMatchesEverythingOption);
        for (auto m = ficha.globalMatch(guion); m.hasNext();) fichas_ << m.next().captured();
        if (Activar(desde->window())) desde->setFocus();
        teclear(desde->window());
    }

  private:
    // The window gets the keyboard back once a list it opened is closed, as on a desktop.
    static bool Activar(QWidget* v) {
        QCoreApplication::processEvents();
        const auto activa = [v] {
            return QApplication::activePopupWidget() ||
                   QGuiApplication::focusWindow() == v->windowHandle();
        };
        if (!activa()) v->activateWindow();
        return QTest::qWaitFor(activa);
    }

    void teclear(QWidget* v) {
        while (!fichas_.isEmpty() && v->isVisible() && Activar(v)) {
            const QString f = fichas_.takeFirst();
            QKeyCombination k = f.size() > 1 ? QKeySequence(f.mid(1, f.size() - 2))[0]
                                : f == u"\n" ? Qt::Key_Return
                                : f == u"\t" ? Qt::Key_Tab
                                             : Qt::Key(f.at(0).toUpper().unicode());
            if (k == (Qt::ShiftModifier | Qt::Key_Tab)) k = Qt::ShiftModifier | Qt::Key_Backtab;
            if (f == u"{X}")
                QApplication::activeWindow()->close();
            else
                QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), k.key(),
                                    f.size() == 1 ? f : QString(), k.keyboardModifiers());
            while (cajas_ > 0 && !fichas_.isEmpty())
                if (const QString t = fichas_.takeFirst(); t == u"\n" || t == u"{Esc}") --cajas_;
        }
    }

    QStringList fichas_;
    int cajas_ = 0;
};
