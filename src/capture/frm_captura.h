#pragma once
// The hub: an application is typed in the upper half and saved; the grid lists what was saved
// since the window opened; the buttons along the bottom open the other windows.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Rejilla;

class FrmCaptura : public QDialog {
    Q_OBJECT
public:
    explicit FrmCaptura(QWidget* parent = nullptr);

    QLineEdit* TxtPaterno;
    QLineEdit* TxtMaterno;
    QLineEdit* TxtNombre;
    QLineEdit* TxtTelefono;
    QLineEdit* TxtPaternoAval;
    QLineEdit* TxtMaternoAval;
    QLineEdit* TxtNombreAval;
    QComboBox* CmbSucursal;
    QComboBox* Combo1;
    QComboBox* CmbPromociones;
    QLineEdit* TxtDocumento;
    QLineEdit* TxtImporte;
    QPushButton* CmdGuardar;
    QLabel* LblFecha;
    QGroupBox* Frame2;
    Rejilla* iSolicitudes;
    QPushButton* CmdAsignacion;
    QPushButton* CmdRecepcion;
    QPushButton* CmdRechazadas;
    QPushButton* CmdReastrear;
    QPushButton* Command1;

    // False when the version check found the program obsolete: the window must not be shown.
    bool puedeContinuar() const { return continuar_; }

    // Address of the fixed map location the hidden button opens.
    QString direccionMapa() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void done(int resultado) override;

private:
    void CargarListas();
    void Command1_Click();

    bool continuar_ = true;
};
