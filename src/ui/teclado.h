#pragma once
// What the keyboard does in every window: the keys typed while a window opens, held and given
// to it once it is on screen; the pulses of window events in long loops; Shift+F10 in text
// boxes.
#include <QKeyEvent>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;

// From now until the window is on screen with the keyboard, what the clerk types at the
// windows that were in front is held for it and then given to it, in order; clicks there are
// dropped. A window loads its lists before it shows: the keys typed meanwhile are meant for it.
// PrepararVentana does it for every window.
void RetenerTecladoParaVentana(QWidget* ventana);
// Whether some window is opening so.
bool TecladoRetenido();
// The window opening so that opened last; null when none is.
QWidget* VentanaAbriendo();
// Keys typed earlier, given now in order to `ventana`, each to its control that has the
// keyboard when it comes (a message box in front does not take them).
void EntregarTeclas(QPointer<QWidget> ventana, std::vector<std::unique_ptr<QKeyEvent>> teclas);
// Lets pending window events run in the middle of a long loop: repaints and timers always;
// the user's keys and clicks only while a window is opening (held for it as above), otherwise
// they wait for the end of the loop.
void PulsarEventos();

// Shift+F10 in a text box opens its context menu, as the menu key does.
void MenuContextualConTeclado();
