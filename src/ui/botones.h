#pragma once
// How the buttons of every window are pressed. However a button is pressed (mouse, access
// key, Enter or Space on it), the keyboard first reaches the button, so the field being left
// runs its leave rule on what was typed; when that rule shows a message, the press does
// nothing more. No button is a default button: Enter presses only the button that has the
// keyboard, never one behind a list, a grid or a date picker.
class QWidget;

// Applies the rules to every button (and check box) of the window as it stands.
void PrepararBotones(QWidget* ventana);
