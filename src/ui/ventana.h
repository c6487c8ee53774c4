#pragma once
// What every window does when it loads: take its size from the twips of its design, sit centred
// across and at a quarter down the screen, wear the skin, and take the keyboard when shown.
#include <QRect>
#include <QString>

class QWidget;

constexpr int TwipsPorPixel = 15;

constexpr int Pixeles(int twips) { return twips / TwipsPorPixel; }
// A control's place from its design (left, top, width, height in twips).
constexpr QRect RectTwips(int izquierda, int arriba, int ancho, int alto) {
    return QRect(Pixeles(izquierda), Pixeles(arriba), Pixeles(ancho), Pixeles(alto));
}

// Sizes the client area (a window flagged Qt::MSWindowsFixedSizeDialogHint keeps that size),
// places it with ColocarVentana, applies the skin and makes it activate itself when shown.
void PrepararVentana(QWidget* ventana, int anchoTwips, int altoTwips);

// Left = (screen width - window width) / 2, top = (screen height - window height) / 4, on the
// free area of the window's screen.
void ColocarVentana(QWidget* ventana);

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
