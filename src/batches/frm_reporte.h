#pragma once
// The printable report of one verification batch: its address on the report server is
// composed and shown, the PDF is fetched over HTTP (the server's log-in asked of the user when
// it wants one), saved in the user's documents and opened with the desktop's viewer; then the
// window closes. A failed fetch is told to the user and the window stays until closed. Without
// a report server (the setting empty or "integrado") the program draws the report itself into
// the same file.
#include <QDialog>
#include <QPointer>
#include <memory>

class QAuthenticator;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QTimer;

class FrmReporte : public QDialog {
    Q_OBJECT
  public:
    // Reads NumeroRelacion and TipoReporte of Global and composes the address; the fetch
    // starts when the window is shown.
    explicit FrmReporte(QWidget* parent = nullptr);
    ~FrmReporte() override;

    QLabel* LblMensaje;
    QLabel* LblURL;
    // One line saying what the window is doing: drawing the report, waiting for the server
    // (under the hourglass), where it saved the report; hidden otherwise.
    QLabel* LblEspera;

    // Times the user is asked for the server's log-in in one fetch; a further refusal of the
    // server ends the fetch as failed.
    static constexpr int MaximoIntentosSesion = 3;

    QString servidorReportes() const { return ServidorReportes; }
    QString direccionReporte() const { return DireccionReporte; }
    // Where the PDF is saved: Relacion_<number>.pdf in the user's documents folder.
    QString archivoReporte() const { return ArchivoReporte; }
    // Whether a fetch is under way.
    bool navegando() const { return !respuesta_.isNull(); }
    // Milliseconds without news from the server before the fetch counts as failed.
    static constexpr int EsperaPredeterminada = 30000;
    void ponerEsperaMaxima(int milisegundos);
    // Whether the report is drawn here instead of fetched.
    bool integrado() const { return integrado_; }
    // The report server setting that means "no server: the program draws the report".
    static bool EsIntegrado(const QString& servidor);

  protected:
    void showEvent(QShowEvent* evento) override;
    void done(int resultado) override;

  private:
    void Navegar();
    void alPedirSesion(QNetworkReply* respuesta, QAuthenticator* autenticador);
    void alLlegarDatos();
    void alTerminar();
    void alAgotarseEspera();
    void ErrorNavegacion();
    void ErrorGuardar(const QString& detalle);
    void GenerarReporte();
    // The saved report goes to the desktop's viewer, or the clerk is told where it is.
    void Entregar();
    // The line of LblEspera; `esperando` with the hourglass. Empty hides it.
    void ponerEstado(const QString& texto, bool esperando = true);
    // Drops the fetch under way and what was written of it, without telling anybody.
    void detener();

    QString ServidorReportes;
    QString DireccionReporte;
    QString ArchivoReporte;

    QNetworkAccessManager* red_;
    QTimer* espera_;
    QPointer<QNetworkReply> respuesta_;
    std::unique_ptr<QSaveFile> archivo_;
    QByteArray inicio_;
    QString errorGuardar_;
    QString ultimoUsuario_;
    bool integrado_ = false;
    bool navegado_ = false;
    bool noEsPdf_ = false;
    bool sesionCancelada_ = false;
    int intentosSesion_ = 0;
    int esperasPintura_ = 0;
};
