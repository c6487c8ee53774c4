#pragma once
// The typing rules every window shares: Enter behaves like Tab, name and comment boxes are
// upper case and one line without control characters, numeric boxes take digits only,
// drop-down lists are left with Enter.
#include <QValidator>

class QLineEdit;
class QWidget;

constexpr int CodigoEnter = 13;
constexpr int CodigoRetroceso = 8;

// The rules on one character code, as a box receives it: the code that reaches the box, 0 when
// the keystroke is cancelled. Enter gives 0 here; the installed filters also move the focus.
int FiltroTexto(int codigo);
int FiltroNumerico(int codigo);

// Installs the rules on a QLineEdit or a QPlainTextEdit (text) or a QLineEdit (numeric): typed
// characters, Enter, and pasted or dropped text. Text set by the program goes through the same
// rules in a QLineEdit (its validator), so a numeric box never holds anything but digits.
void InstalarFiltroTexto(QWidget* caja);
void InstalarFiltroNumerico(QLineEdit* caja);

// Moves the focus to the next control in tab order of the window holding `desde`, as Tab does
// (to the previous one, as Shift+Tab does, when not `adelante`).
void PasarAlSiguienteControl(QWidget* desde, bool adelante = true);

// The rules of every drop-down list of the window as it stands (lists in grids excepted):
// Enter leaves the list as Tab does, keeping the choice; in an open list Enter and Tab take the
// highlighted entry and leave it; a blank typed in a list is part of the name looked for, never
// a key that opens it; an open list highlights the chosen entry, or the first when none is,
// and Down goes on from the highlighted one.
void PrepararListas(QWidget* ventana);

// The text without its accents (Á → A, ñ → n, ü → u), for matches that ignore them.
QString TextoSinAcentos(const QString& texto);

// What the filters leave of a text that arrives whole (pasted, dropped, set).
QString TextoEnMayusculas(const QString& texto);
QString SoloDigitos(const QString& texto);
// Line breaks and tabs become blanks; every other control character (Unicode's Cc, the line and
// paragraph separators) goes, and so does any half of a character left alone.
QString TextoSinControles(const QString& texto);
// The text rule on a whole text: no control characters, capitals.
QString TextoDeRegla(const QString& texto);

// The validators that rewrite whatever lands in a QLineEdit.
class ValidadorMayusculas : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& texto, int& posicion) const override;
};

class ValidadorDigitos : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& texto, int& posicion) const override;
};
