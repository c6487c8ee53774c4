#pragma once
// Asks for the reason of a rejection; the caller reads it from Global::ComentarioRechazo once
// the dialog is closed (empty when the user closed it without accepting).
#include <QDialog>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FrmComentarios : public QDialog {
    Q_OBJECT
  public:
    explicit FrmComentarios(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QPlainTextEdit* TxtComentarios;
    QPushButton* CmdGuardar;
    // How much the comment may still grow.
    QLabel* LblLargo;

    // The width of the application's comentarios column.
    static constexpr int LargoMaximo = 500;

  private:
    void CmdGuardar_Click();
    // A comment is one line of at most LargoMaximo characters, however it arrived.
    void AjustarTexto();
    bool ajustando_ = false;
};
