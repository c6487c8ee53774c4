#pragma once
// Every window whole on its screen. A window whose design, with its frame, is larger than the
// free area of the screen is made as large as fits and scrollable: its controls keep the
// designed size and places on a surface inside a scroll area, the control with the keyboard
// always scrolled into view, and the scroll bars reach every control with the mouse. A window
// is never scaled down instead: the clerks keep the font of their desktop, every caption stays
// as readable as elsewhere, and nothing is measured twice.
#include <QSize>
#include <functional>
#include <vector>

class QWidget;

// Sizes the window to `diseno` (its client area), or as above, and places it with
// ColocarVentana; once the window is on screen with its frame known, the same again.
void EncuadrarVentana(QWidget* ventana, const QSize& diseno);
// The same again, as the window's frame or screen is known now.
void AjustarAPantalla(QWidget* ventana);

// Left = (screen width - window width) / 2, top = (screen height - window height) / 4, on the
// free area of the window's screen; a window made smaller to fit, or larger than that area,
// at its top left corner. Never above or left of the free area.
void ColocarVentana(QWidget* ventana);

// For a window laid out by Qt (a standard dialog): no larger than the free area of its screen,
// and placed as ColocarVentana does.
void CaberEnPantalla(QWidget* ventana);

// What the window's controls stand on: the window, or the surface inside its scroll area.
QWidget* Superficie(QWidget* ventana);
// For a sizable window that lays its controls out itself, down to `minimo` with every control
// whole: `acomodar` runs whenever what they stand on changes size, with that size. Called
// before EncuadrarVentana (PrepararVentana), which then makes such a window only as large as
// the screen allows, and scrollable only when even `minimo` does not fit.
void AcomodarAlTamano(QWidget* ventana, const QSize& minimo,
                      std::function<void(const QSize&)> acomodar);

// The one rule by which a sizable window's controls follow its size: each keeps its designed
// distance to the edges it is anchored to; anchored to both sides of a direction it stretches,
// to neither it keeps its place. A control inside a frame follows that frame.
enum Ancla : int { AnclaIzquierda = 1, AnclaArriba = 2, AnclaDerecha = 4, AnclaAbajo = 8 };
constexpr int AnclaTodas = AnclaIzquierda | AnclaArriba | AnclaDerecha | AnclaAbajo;
struct Anclado {
    QWidget* control;
    int anclas;
};
// Records each control's place for the window's designed client size `diseno` (frames before
// what they hold) and installs the rule through AcomodarAlTamano, down to `minimo`.
void AnclarControles(QWidget* ventana, const QSize& diseno, const QSize& minimo,
                     const std::vector<Anclado>& controles);
