#pragma once
// The customers already registered under the name being captured: the clerk picks one of them
// (the application is then his) or registers the customer anew, and the window is accepted;
// closed any other way (close box, Alt+F4, Escape) it is rejected and the save stops. Nothing
// is written here; the answer goes back to the save through Global::ClienteNuevo and
// Global::NumeroCliente.
#include <QDialog>

class QGroupBox;
class QPushButton;
class Rejilla;

class FrmClientes_Encontrados : public QDialog {
    Q_OBJECT
  public:
    // Loads the customers named Global::NombreCompleto at once: each showing is a new window.
    explicit FrmClientes_Encontrados(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    Rejilla* iClientes;
    QGroupBox* Frame2;
    Rejilla* iVerificaciones;
    QPushButton* CmdRegistrar;

  private:
    void CargarClientes();
    void CargarVerificaciones(double cliente);
    void iClientes_CeldaActualCambiada(int fila, int columna);
    void iClientes_DobleClic(int fila, int columna);
    void CmdRegistrar_Click();

    // The customer number of a row of iClientes, from its column "Cliente".
    double ClienteDeFila(int fila) const;

    // While the customers load, moving the current cell is not the user's choice of a row.
    bool cargando_ = false;
    // Where the result put the column "Cliente"; found once per load.
    int columnaCliente_ = 1;
};
