#include "ui/botones.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcutEvent>

#include "ui/servicios.h"

namespace {

constexpr char MarcaBotones[] = "botonesPreparados";

class ReglaBotones : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        auto* boton = qobject_cast<QAbstractButton*>(objeto);
        if (!boton) return false;
        switch (evento->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                if (static_cast<QMouseEvent*>(evento)->button() != Qt::LeftButton) return false;
                return !LlegarAlBoton(boton, Qt::MouseFocusReason);
            case QEvent::Shortcut: {
                // Two buttons with one access key: Qt moves between them, as usual.
                if (static_cast<QShortcutEvent*>(evento)->isAmbiguous()) return false;
                QPointer<QAbstractButton> vigilado(boton);
                if (LlegarAlBoton(boton, Qt::ShortcutFocusReason) && vigilado) boton->click();
                return true;
            }
            case QEvent::KeyPress: {
                // A button without auto-default ignores Enter; the one that has the keyboard
                // is the one Enter presses.
                auto* tecla = static_cast<QKeyEvent*>(evento);
                const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
                if (!enter || !qobject_cast<QPushButton*>(boton) ||
                    (tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                    return false;
                if (boton->isEnabled() && !tecla->isAutoRepeat()) boton->click();
                return true;
            }
            default:
                return false;
        }
    }

  private:
    // Moves the keyboard to the button, which runs the leave rule of the field it leaves.
    // False when the press must stop: the rule spoke, or the button is gone or disabled.
    static bool LlegarAlBoton(QAbstractButton* boton, Qt::FocusReason razon) {
        if (!boton->isEnabled()) return false;
        if (boton->focusPolicy() == Qt::NoFocus || boton->hasFocus()) return true;
        const int antes = MensajesMostrados();
        QPointer<QAbstractButton> vigilado(boton);
        boton->setFocus(razon);
        return vigilado && vigilado->isEnabled() && vigilado->isVisible() &&
               MensajesMostrados() == antes;
    }
};

}  // namespace

void PrepararBotones(QWidget* ventana) {
    if (!ventana) return;
    // One rule for the whole program; it keeps no state of its own.
    static QPointer<ReglaBotones> regla;
    if (!regla) regla = new ReglaBotones(QCoreApplication::instance());
    for (QAbstractButton* boton : ventana->findChildren<QAbstractButton*>()) {
        if (boton->property(MarcaBotones).toBool()) continue;
        boton->setProperty(MarcaBotones, true);
        if (auto* pulsador = qobject_cast<QPushButton*>(boton)) pulsador->setAutoDefault(false);
        // The click no longer hands the keyboard over by itself: the rule does it first.
        if (boton->focusPolicy() & Qt::ClickFocus) boton->setFocusPolicy(Qt::TabFocus);
        boton->installEventFilter(regla);
    }
}
