#pragma once
// The program's application object. A failure that escapes a window's handler (a database
// error, or any other) is shown to the clerk instead of ending the program: the window stays,
// with what was typed.
#include <QApplication>

class Aplicacion : public QApplication {
    Q_OBJECT
  public:
    Aplicacion(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};
