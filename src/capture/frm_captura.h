#pragma once
// The hub: an application is typed in the upper half and saved; the grid lists what was saved
// since the window opened; the buttons along the bottom open the other windows.
#include <QDialog>

#include "startup/texto_fijo.h"

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
    // The office dashboard, after every control of the design in the tab order.
    QPushButton* CmdTablero;

    // False when the version check found the program obsolete: the window must not be shown.
    bool puedeContinuar() const { return continuar_; }

    // Address of the fixed map location the hidden button opens.
    QString direccionMapa() const;

    // Procedures the save runs (field checks and the homonym look-up).
    void RevisarNombres();
    void RevisarNombresAval();
    // False when the clerk closed the homonyms window without choosing: the save stops.
    bool BuscarHomonimos();
    void Autocompletar_Combo(QComboBox* Combo);

    int renglones() const { return static_cast<int>(Renglones); }
    double folioSolicitud() const { return FolioSolicitud; }
    const QString& nombreAval() const { return NombreAval; }
    const QString& apellidosAval() const { return ApellidosAval; }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void done(int resultado) override;

  private:
    void CargarListas();
    void Command1_Click();
    void PrepararVendedores();

    // Leaving a field (the look-ups and compositions of the field rules).
    void CambioDeFoco(QWidget* anterior, QWidget* actual);
    void AlSalir(QWidget* campo);
    void ComponerNombreCompleto();
    void ComponerAval();
    void RevisarTelefono();
    void BuscarDocumento();
    // The key of the entry the list shows; false when there is none or the database failed
    // (then it said so), and the key keeps its value.
    // `sentencia` builds the look-up for the entry's number; the key is read at `columna`.
    bool ResolverClave(QComboBox* lista, QString (*sentencia)(qint64), int columna,
                       TextoFijo<7>& clave);
    bool ResolverSucursal();
    bool ResolverVendedor();
    // Index of the salesperson whose name the box shows (-1 when the text names none).
    int VendedorSeleccionado() const;

    void CmdGuardar_Click();
    // The writes of one save, as one unit; false when the press must stop.
    bool GuardarEnBase();
    QString SentenciaInsert(bool clienteNuevo) const;
    void AgregarRenglon();
    void LimpiarCampos();
    void iSolicitudes_DobleClic(int fila, int columna);

    bool DatosCorrectos = false;
    double FolioSolicitud = 0;
    double Renglones = 0;
    QString NombreAval;
    QString ApellidosAval;
    bool Borrando = false;
    // The keyboard is going back to a box whose leave rule spoke.
    bool volviendo_ = false;

    bool continuar_ = true;
};
