#pragma once
// The first window: a staff number and a password open the capture window.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QLabel;

class FrmLogin : public QDialog {
    Q_OBJECT
  public:
    explicit FrmLogin(QWidget* parent = nullptr);

    // True once the password matched; the caller then opens the capture window.
    bool entro() const { return !SalirAlCerrar; }
    short intentos() const { return Intentos; }

    QLineEdit* TxtUsuario;
    QLineEdit* TxtNombre;
    QLineEdit* TxtConstrasena;
    QPushButton* CmdEntrar;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void done(int resultado) override;

  private:
    void BuscarUsuario();
    // Said once, when the user was not found in databases this opening created empty.
    void AvisarBasesVacias();
    void CmdEntrar_Click();

    short Intentos = 0;
    bool SalirAlCerrar = true;
    bool avisoBasesVacias_ = false;
    QString ContrasenaGuardada;
};

// Shows the login window modally and, after a correct password, the capture window; returns
// when both are closed.
void MostrarLogin();
