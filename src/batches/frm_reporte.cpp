#include "batches/frm_reporte.h"

#include <QAuthenticator>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <cmath>

#include "batches/frm_credenciales.h"
#include "batches/informe_relacion.h"
#include "db/error_bd.h"
#include "startup/global.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

const QByteArray MarcaPdf = QByteArrayLiteral("%PDF-");

// The report server as the settings give it; a host without a port is on the server's 88.
QString Servidor() {
    QString s = Global::Ajustes.servidorReportes.trimmed();
    if (!s.isEmpty() && !s.contains(QLatin1Char(':'))) s += QStringLiteral(":88");
    return s;
}

// The address has no blanks to break at: it is wrapped anywhere, so it can be read whole.
class EtiquetaDireccion : public QLabel {
  public:
    using QLabel::QLabel;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int ancho) const override {
        const QMargins m = contentsMargins();
        return fontMetrics()
                   .boundingRect(QRect(0, 0, ancho - m.left() - m.right(), 100000),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text())
                   .height() +
               m.top() + m.bottom();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        pintor.setPen(palette().color(foregroundRole()));
        pintor.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere,
                        text());
    }
};

QString CarpetaDocumentos() {
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty()) carpeta = QDir::homePath();
    QDir().mkpath(carpeta);
    return carpeta;
}

}  // namespace

FrmReporte::FrmReporte(QWidget* parent)
    : QDialog(parent), red_(new QNetworkAccessManager(this)), espera_(new QTimer(this)) {
    NombrarVentana(this, "FrmReporte", QStringLiteral("Impresión del Reporte"));

    LblMensaje =
        new QLabel(QStringLiteral("De ser necesarioTeclee sus Datos de Inicio de Sesión  y "
                                  "seleccione la opción abrir del dialogo próximo a mostrarse"),
                   this);
    LblMensaje->setObjectName(QStringLiteral("LblMensaje"));
    LblMensaje->setWordWrap(true);
    LblMensaje->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Its place starts at the window's top edge; its text keeps clear of the title bar.
    LblMensaje->setContentsMargins(0, Pixeles(60), 0, 0);
    // Inside the window, and the window a little taller than designed, so that the whole
    // address can be read in the desktop's font.
    LblMensaje->setGeometry(RectTwips(120, 0, 5055, 1095));

    LblURL = new EtiquetaDireccion(QStringLiteral("URL"), this);
    LblURL->setObjectName(QStringLiteral("LblURL"));
    LblURL->setTextFormat(Qt::PlainText);
    LblURL->setGeometry(RectTwips(120, 1200, 5055, 855));

    LblEspera = new QLabel(this);
    LblEspera->setObjectName(QStringLiteral("LblEspera"));
    LblEspera->setGeometry(RectTwips(120, 2100, 5055, 315));
    LblEspera->hide();

    PrepararVentana(this, 5295, 2475);

    integrado_ = EsIntegrado(Global::Ajustes.servidorReportes);
    ServidorReportes = integrado_ ? QString() : Servidor();
    const QString numero =
        QString::number(static_cast<qlonglong>(std::llround(Global::NumeroRelacion)));
    const QString direccion =
        QStringLiteral("http://") + ServidorReportes +
        QStringLiteral(
            "/reportserver?/Credito/relaciones_solicitudes_credito&rs:command=render&nRelacion=") +
        numero + QStringLiteral("&rs:Format=PDF");
    ArchivoReporte = QDir(CarpetaDocumentos())
                         .filePath(QStringLiteral("Relacion_") + numero + QStringLiteral(".pdf"));
    // Drawn here, the report has no address: the label tells where it will be.
    LblURL->setText(integrado_ ? ArchivoReporte : direccion);
    if (Global::TipoReporte == 1 && !integrado_) DireccionReporte = direccion;

    espera_->setSingleShot(true);
    espera_->setInterval(EsperaPredeterminada);
    connect(espera_, &QTimer::timeout, this, &FrmReporte::alAgotarseEspera);
    connect(red_, &QNetworkAccessManager::authenticationRequired, this, &FrmReporte::alPedirSesion);
}

FrmReporte::~FrmReporte() { detener(); }

bool FrmReporte::EsIntegrado(const QString& servidor) {
    const QString s = servidor.trimmed();
    return s.isEmpty() || s.compare(QLatin1String("integrado"), Qt::CaseInsensitive) == 0;
}

void FrmReporte::ponerEsperaMaxima(int milisegundos) { espera_->setInterval(milisegundos); }

void FrmReporte::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    // Once on screen: the user sees the address while the server is asked.
    if (!navegado_) {
        navegado_ = true;
        QTimer::singleShot(0, this, &FrmReporte::Navegar);
    }
}

void FrmReporte::done(int resultado) {
    detener();
    QDialog::done(resultado);
}

void FrmReporte::Navegar() {
    // Closed before the server was asked: nothing to fetch for.
    if (!isVisible()) return;
    // The clerk sees the window before its work starts: drawing the report keeps it busy, and
    // a message may follow at once.
    if (windowHandle() && !windowHandle()->isExposed() && esperasPintura_ < 50) {
        ++esperasPintura_;
        QTimer::singleShot(20, this, &FrmReporte::Navegar);
        return;
    }
    if (integrado_) {
        GenerarReporte();
        return;
    }
    const QUrl url(DireccionReporte.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        ErrorNavegacion();
        return;
    }
    noEsPdf_ = false;
    sesionCancelada_ = false;
    intentosSesion_ = 0;
    errorGuardar_.clear();
    inicio_.clear();
    archivo_.reset();
    respuesta_ = red_->get(QNetworkRequest(url));
    connect(respuesta_, &QNetworkReply::readyRead, this, &FrmReporte::alLlegarDatos);
    connect(respuesta_, &QNetworkReply::metaDataChanged, espera_, qOverload<>(&QTimer::start));
    connect(respuesta_, &QNetworkReply::metaDataChanged, this, [this] {
        if (respuesta_) ponerEstado(QStringLiteral("Recibiendo el reporte…"));
    });
    connect(respuesta_, &QNetworkReply::finished, this, &FrmReporte::alTerminar);
    espera_->start();
    ponerEstado(QStringLiteral("Esperando al servidor de reportes…"));
}

void FrmReporte::ponerEstado(const QString& texto, bool esperando) {
    // One line: a long path loses its middle, and reads whole in the tool tip.
    LblEspera->setText(LblEspera->fontMetrics().elidedText(texto, Qt::ElideMiddle,
                                                           LblEspera->contentsRect().width()));
    LblEspera->setToolTip(texto);
    LblEspera->setVisible(!texto.isEmpty());
    if (texto.isEmpty() || !esperando)
        unsetCursor();
    else
        setCursor(Qt::WaitCursor);
}

void FrmReporte::GenerarReporte() {
    if (Global::TipoReporte != 1) return;
    const qint64 numero = std::llround(Global::NumeroRelacion);
    ponerEstado(QStringLiteral("Dibujando el reporte de la relación ") + QString::number(numero) +
                QStringLiteral("…"));
    // Painted now: reading and drawing run without letting the window repaint.
    repaint();
    informe::Relacion relacion;
    {
        CursorEspera espera;
        try {
            relacion = informe::LeerRelacion(Global::Conexion, numero);
        } catch (const db::ErrorBD& e) {
            ponerEstado(QString());
            MensajeErrorBD(e);
            return;
        }
    }
    if (!relacion.existe) {
        ponerEstado(QString());
        MensajeError(QStringLiteral("No existe la relación ") + relacion.numero +
                         QStringLiteral("; no hay reporte que imprimir."),
                     QStringLiteral("Impresión del Reporte"));
        return;
    }
    QString error;
    bool escrito = false;
    {
        CursorEspera espera;
        escrito = informe::EscribirPdf(relacion, ArchivoReporte, &error);
    }
    if (!escrito) {
        ponerEstado(QString());
        ErrorGuardar(error);
        return;
    }
    Entregar();
}

void FrmReporte::alPedirSesion(QNetworkReply* respuesta, QAuthenticator* autenticador) {
    // Left empty, the authenticator makes the server's refusal the end of the fetch.
    if (respuesta != respuesta_ || sesionCancelada_ || intentosSesion_ >= MaximoIntentosSesion)
        return;
    espera_->stop();
    ponerEstado(QString());
    const QUrl url = respuesta->url();
    const QString servidor =
        url.port() > 0 ? url.host() + QLatin1Char(':') + QString::number(url.port()) : url.host();
    FrmCredenciales sesion(servidor, autenticador->realm(), intentosSesion_ > 0, this);
    sesion.TxtUsuario->setText(ultimoUsuario_);
    if (!ultimoUsuario_.isEmpty()) sesion.TxtContrasena->setFocus();
    ++intentosSesion_;
    const bool acepto = Servicios().mostrarModal(sesion) == QDialog::Accepted;
    if (respuesta_) {
        espera_->start();
        ponerEstado(QStringLiteral("Esperando al servidor de reportes…"));
    }
    if (!acepto) {
        sesionCancelada_ = true;
        return;
    }
    ultimoUsuario_ = sesion.usuario();
    autenticador->setUser(sesion.usuario());
    autenticador->setPassword(sesion.contrasena());
}

void FrmReporte::alLlegarDatos() {
    if (!respuesta_ || !respuesta_->isOpen()) return;
    espera_->start();
    const QByteArray datos = respuesta_->readAll();
    const int estado = respuesta_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // Only a whole PDF is the report: an error page, even one sent as 200, never replaces it.
    if (estado < 200 || estado > 299 || noEsPdf_ || !errorGuardar_.isEmpty() || datos.isEmpty())
        return;
    if (!archivo_) {
        inicio_ += datos;
        if (inicio_.size() < MarcaPdf.size()) {
            if (!MarcaPdf.startsWith(inicio_)) noEsPdf_ = true;
            return;
        }
        if (!inicio_.startsWith(MarcaPdf)) {
            noEsPdf_ = true;
            inicio_.clear();
            return;
        }
        // Written beside the final name and put in its place only once complete, so a
        // report saved before is never lost to half a download.
        archivo_ = std::make_unique<QSaveFile>(ArchivoReporte);
        if (!archivo_->open(QIODevice::WriteOnly)) {
            errorGuardar_ = archivo_->errorString();
            archivo_.reset();
            respuesta_->abort();
            return;
        }
        archivo_->write(inicio_);
        inicio_.clear();
        return;
    }
    archivo_->write(datos);
}

void FrmReporte::alTerminar() {
    QNetworkReply* respuesta = respuesta_;
    if (!respuesta) return;
    alLlegarDatos();
    respuesta_ = nullptr;
    espera_->stop();
    ponerEstado(QString());
    respuesta->deleteLater();

    if (!errorGuardar_.isEmpty()) {
        archivo_.reset();
        ErrorGuardar(errorGuardar_);
        return;
    }
    if (respuesta->error() != QNetworkReply::NoError || !archivo_) {
        archivo_.reset();
        ErrorNavegacion();
        return;
    }
    const bool guardado = archivo_->commit();
    const QString error = archivo_->errorString();
    archivo_.reset();
    if (!guardado) {
        ErrorGuardar(error);
        return;
    }
    Entregar();
}

void FrmReporte::Entregar() {
    ponerEstado(QStringLiteral("Reporte guardado en ") + QDir::toNativeSeparators(ArchivoReporte),
                false);
    repaint();
    if (!Servicios().abrirDireccion(ArchivoReporte))
        MensajeInformacion(
            QStringLiteral("No se pudo abrir el visor de PDF; el reporte quedó guardado en:\r\n") +
                ArchivoReporte,
            QStringLiteral("Impresión del Reporte"));
    accept();
}

void FrmReporte::alAgotarseEspera() {
    if (!respuesta_) return;
    respuesta_->abort();
}

void FrmReporte::ErrorGuardar(const QString& detalle) {
    MensajeError(QStringLiteral("No se pudo guardar el reporte en ") + ArchivoReporte +
                     QStringLiteral("\r\n") + detalle,
                 QStringLiteral("Error al Guardar"));
}

void FrmReporte::ErrorNavegacion() {
    MensajeError(
        QStringLiteral("Hay un Error en la Conexión al servidor, trate de Nuevo, si persiste el "
                       "problema reportelo a Sistemas") +
            QStringLiteral("\r\n") + DireccionReporte.trimmed(),
        QStringLiteral("Error de Conexión"));
}

void FrmReporte::detener() {
    espera_->stop();
    ponerEstado(QString());
    if (QNetworkReply* respuesta = respuesta_) {
        respuesta_ = nullptr;
        disconnect(respuesta, nullptr, this, nullptr);
        disconnect(respuesta, nullptr, espera_, nullptr);
        respuesta->abort();
        respuesta->deleteLater();
    }
    // A half-written report is dropped; the one saved before stays.
    archivo_.reset();
}
