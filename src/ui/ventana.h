#pragma once
// What every window does when it loads: take its size from the twips of its design, sit centred
// across and at a quarter down the screen, wear the skin, and take the keyboard when shown.
#include <QKeyEvent>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "ui/encuadre.h"
#include "ui/teclado.h"

class QWidget;

class QFont;

constexpr int TwipsPorPixel = 15;

// The windows were drawn in twips for a dialog font smaller than the desktop's. The whole
// layout grows by how much wider and taller the font in use is than that one, so every text
// keeps the room the design gave it and the proportions stay. Never below 1.
double EscalaDiseno(const QFont& letra);
// For the application's font.
double EscalaDiseno();

// Twips of the design as pixels of this screen and font.
int Pixeles(int twips);
// A control's place from its design (left, top, width, height in twips).
QRect RectTwips(int izquierda, int arriba, int ancho, int alto);
// A width the design gives in pixels of its own font (the grids' columns).
int PixelesDiseno(int pixeles);

class QFontMetrics;
// The height of a row of a list in that font: room for the accents of capitals (Á, Ñ) above
// and the tails of letters below, with a little air around them.
int AltoRenglon(const QFontMetrics& medida);

// The title bars of the program's windows: a dialog of fixed size; a window the clerk may
// resize, maximize and minimize; a dialog that may only be maximized.
enum class BordeVentana { Fijo, Redimensionable, Maximizable };
// Names the window (tests and tools find it by that name), titles it and gives it its border.
void NombrarVentana(QWidget* ventana, const char* nombre, const QString& titulo,
                    BordeVentana borde = BordeVentana::Fijo);

// Sizes the client area from the twips of the design (a window flagged
// Qt::MSWindowsFixedSizeDialogHint keeps that size) and places the window, both by
// EncuadrarVentana; applies the skin, makes it activate itself when shown and gives its
// buttons the rules of PrepararBotones, its lists those of PrepararListas and its password
// boxes the mark of MarcarContrasenas (so every control must exist by then).
void PrepararVentana(QWidget* ventana, int anchoTwips, int altoTwips);

// One password mark in every window: "*", not the platform's dot.
void MarcarContrasenas(QWidget* ventana);

// The skin file in `carpeta`; when empty, the one beside the executable, or else the one the
// package installs in the data folder.
QString RutaPiel(const QString& carpeta = QString());
// Applies the skin (a Qt style sheet) found in `carpeta` (where RutaPiel looks when empty);
// false, and the default look kept, when there is no such file.
bool AplicarPiel(QWidget* ventana, const QString& carpeta = QString());

// Raises and activates the window each time it is shown, so its first control has the
// keyboard even where no window manager hands the focus over.
void ActivarAlMostrar(QWidget* ventana);

// The hourglass while something loads or is looked up; the pointer comes back on leaving.
class CursorEspera {
  public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};
