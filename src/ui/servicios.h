#pragma once
// What a window asks of the desktop: message boxes, yes/no questions, modal windows, opening a
// document or address, starting a program. Tests install their own services and answer them
// without a real box on screen.
#include <QString>
#include <QStringList>
#include <memory>

namespace db {
class ErrorBD;
}

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

enum class IconoMensaje { Critico, Informacion, Pregunta };

class ServiciosVentana {
  public:
    virtual ~ServiciosVentana() = default;

    // A message with an OK ("Aceptar") button; returns when the user closes it.
    virtual void mostrarMensaje(IconoMensaje icono, const QString& texto,
                                const QString& titulo) = 0;
    // A yes/no box with the question icon; true only when the answer is Yes.
    virtual bool preguntar(const QString& texto, const QString& titulo, bool siPorDefecto) = 0;
    // Shows a window modally and returns its result (QDialog::Accepted / Rejected).
    virtual int mostrarModal(QDialog& dialogo) = 0;
    // A web address ("http://...") or a document's path, opened with the desktop's program.
    virtual bool abrirDireccion(const QString& direccion) = 0;
    // Starts a program without waiting for it.
    virtual bool iniciarPrograma(const QString& programa, const QStringList& argumentos) = 0;
    // The file to save into, chosen in a save dialog that starts in the user's documents with
    // `nombreSugerido`; empty when the user cancels.
    virtual QString elegirArchivoGuardar(const QString& titulo, const QString& nombreSugerido,
                                         const QString& filtro) = 0;
};

// The real desktop: QMessageBox in Spanish, QDialog::exec, QDesktopServices, QProcess.
class ServiciosEscritorio : public ServiciosVentana {
  public:
    void mostrarMensaje(IconoMensaje icono, const QString& texto, const QString& titulo) override;
    bool preguntar(const QString& texto, const QString& titulo, bool siPorDefecto) override;
    int mostrarModal(QDialog& dialogo) override;
    bool abrirDireccion(const QString& direccion) override;
    bool iniciarPrograma(const QString& programa, const QStringList& argumentos) override;
    QString elegirArchivoGuardar(const QString& titulo, const QString& nombreSugerido,
                                 const QString& filtro) override;
};

// The save dialog of ServiciosEscritorio, ready to be shown: Qt's own, in the program's Spanish,
// every caption and column title whole, the suggested name in the user's documents, the
// whole dialog on the screen.
std::unique_ptr<QFileDialog> DialogoGuardar(const QString& titulo, const QString& nombreSugerido,
                                            const QString& filtro, QWidget* padre = nullptr);

// The services in use: the desktop's unless others were installed.
ServiciosVentana& Servicios();
// Installs other services (not owned); null puts the desktop's back.
void InstalarServicios(ServiciosVentana* servicios);

// Width a window needs for its whole title on the title bar, frame buttons included.
int AnchoParaTitulo(const QString& titulo, const QWidget& ventana);
// A desktop message box as the program shows it: Spanish button texts, wide enough for its
// title. Call after its buttons and title are set, before it is shown.
void PrepararCaja(QMessageBox& caja);

void MensajeError(const QString& texto, const QString& titulo);
// The title of every message that reports a failure of the database.
extern const QString TituloErrorBD;
// The failure's Spanish text under that title.
void MensajeErrorBD(const db::ErrorBD& error);
void MensajeInformacion(const QString& texto, const QString& titulo);
bool Preguntar(const QString& texto, const QString& titulo, bool siPorDefecto = true);

// How many messages and questions the three helpers above have shown in this run: a press
// that first runs a field's leave rule stops when the rule had something to say.
int MensajesMostrados();
