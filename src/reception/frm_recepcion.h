#pragma once
// Reception of what the field verifiers found: the batch lines of one verifier (or of every
// verifier of the centre) handed over within two dates, edited in the grid and written back;
// an application still out with the verifier can be taken out of its batch.
#include <QDialog>
#include <QHash>
#include <QStringList>
#include <vector>

#include "reception/celdas_recepcion.h"
#include "startup/texto_fijo.h"
#include "ui/celdas_rejilla.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class Rejilla;
class SelectorFecha;

class FrmRecepcion : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRecepcion(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLabel* SkinLabel3;
    QComboBox* CmbVerificadores;
    QLabel* SkinLabel1;
    SelectorFecha* DtpFecha1;
    QLabel* SkinLabel2;
    SelectorFecha* DtpFecha2;
    QPushButton* CmdConsultar;
    Rejilla* ISolicitudes;
    QCheckBox* ChkBuscador;
    QLabel* LblNombre;
    QPushButton* CmdCambiar;
    QPushButton* CmdGuardar;

    // The row the buttons act on, the one LblNombre names: set by a move of the current cell
    // or an edit request; after a search, a removal or a save, the grid's current row (0 when
    // there is none).
    int filaActual() const { return filaActual_; }
    // The key of the verifier chosen here ("%" for "* Todos *"); the capture window keeps its
    // salesperson in Global's.
    QString clavePersona() const { return clavePersona_; }
    // Edits started since the last search or save: this window's own, not the capture's.
    bool cambiosPendientes() const { return cambiosPendientes_; }

    // The search statement for the verifier list's text and the two dates as they stand.
    QString sentenciaBusqueda() const;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void done(int resultado) override;

  private:
    void ArmarRejilla();
    void LlenarVerificadores();
    void ElegirVerificador();
    void CmdConsultar_Click();
    void Consultar();
    void ISolicitudes_CeldaActualCambiada(int fila, int columna);
    void ISolicitudes_SolicitudEdicion(int fila, int columna, bool& cancelar);
    void ISolicitudes_DobleClic(int fila, int columna);
    void ChkBuscador_Click();
    void CmdCambiar_Click();
    void CmdGuardar_Click();

    // The row the buttons act on: its customer shown, the removal enabled for "Entregada";
    // none (0): "Cliente:" and no removal.
    void MostrarFila(int fila);
    // After a search, a removal or a save the buttons follow the grid's current row.
    void SeguirFilaActual();
    // A typed credit line kept as its column keeps it; a comment refused over its width.
    void ISolicitudes_RevisarEdicion(int fila, int columna, QString& texto, QString& rechazo);
    // What a save would write that the columns do not take: the message, empty when none.
    // `columna` is set to the cell at fault.
    QString RevisarFila(int fila, int* columna);

    int filaActual_ = 0;
    TextoFijo<7> clavePersona_;
    bool cambiosPendientes_ = false;
    // Each line as the last search read it, by ClaveLinea: made from leidos_ (the search's
    // fields as read, by recepcion::Busqueda) when a save first asks.
    const QHash<QString, recepcion::LineaLeida>& Leidas();
    void OlvidarLeidas();
    std::vector<CeldasRejilla> leidos_;
    QHash<QString, recepcion::LineaLeida> leidas_;
    bool leidasArmadas_ = true;
};
