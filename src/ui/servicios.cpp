#include "ui/servicios.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "db/error_bd.h"
#include "ui/encuadre.h"
#include "ui/teclado.h"

namespace {

ServiciosVentana* instalados = nullptr;
int mostrados = 0;

// The box belongs to the window in front, so it stays over it and centred on it.
QWidget* VentanaDelante() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// Once a box or a window is closed, the window that was in front takes the keyboard again (or,
// if it closed meanwhile, the one in front now): the window manager may give it to none, as
// when a window closes right after its box.
void DevolverTeclado(const QPointer<QWidget>& antes) {
    QWidget* ventana = antes && antes->isVisible() ? antes.data() : nullptr;
    if (!ventana) ventana = QApplication::activeModalWidget();
    if (!ventana) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
                ventana = w;
    }
    if (!ventana || ventana->isActiveWindow()) return;
    ventana->raise();
    ventana->activateWindow();
}

}  // namespace

int AnchoParaTitulo(const QString& titulo, const QWidget& ventana) {
    // The window manager draws the title in a font of its own; Qt's title-bar font, bold and
    // never smaller than the application's, stands in for it.
    QFont letra = QApplication::font("QMdiSubWindowTitleBar");
    const QFont general = QApplication::font();
    if (general.pointSizeF() > letra.pointSizeF()) letra.setPointSizeF(general.pointSizeF());
    letra.setBold(true);
    const QFontMetrics medida(letra);
    // The window's icon on the left and up to three frame buttons on the right, each about as
    // wide as the bar is high, and the frame's margins.
    const int barra =
        std::max(ventana.style()->pixelMetric(QStyle::PM_TitleBarHeight), medida.height() + 8);
    return medida.horizontalAdvance(titulo) + 4 * barra + 24;
}

void PrepararCaja(QMessageBox& caja) {
    if (QAbstractButton* b = caja.button(QMessageBox::Ok)) b->setText(QStringLiteral("Aceptar"));
    if (QAbstractButton* b = caja.button(QMessageBox::Yes)) b->setText(QStringLiteral("&Sí"));
    if (QAbstractButton* b = caja.button(QMessageBox::No)) b->setText(QStringLiteral("&No"));
    // QMessageBox sizes itself to its layout's minimum width when shown: a row holding a spacer
    // as wide as the title needs keeps a short text from cutting the title.
    auto* rejilla = qobject_cast<QGridLayout*>(caja.layout());
    if (!rejilla) return;
    const QMargins m = rejilla->contentsMargins();
    const int ancho = AnchoParaTitulo(caja.windowTitle(), caja) - m.left() - m.right();
    rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                     rejilla->rowCount(), 0, 1, std::max(1, rejilla->columnCount()));
}

void ServiciosEscritorio::mostrarMensaje(IconoMensaje icono, const QString& texto,
                                         const QString& titulo) {
    const QMessageBox::Icon dibujo = icono == IconoMensaje::Critico    ? QMessageBox::Critical
                                     : icono == IconoMensaje::Pregunta ? QMessageBox::Question
                                                                       : QMessageBox::Information;
    const QPointer<QWidget> delante = VentanaDelante();
    QMessageBox caja(dibujo, titulo, texto, QMessageBox::Ok, delante);
    PrepararCaja(caja);
    caja.exec();
    DevolverTeclado(delante);
}

bool ServiciosEscritorio::preguntar(const QString& texto, const QString& titulo,
                                    bool siPorDefecto) {
    const QPointer<QWidget> delante = VentanaDelante();
    QMessageBox caja(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No,
                     delante);
    PrepararCaja(caja);
    QAbstractButton* si = caja.button(QMessageBox::Yes);
    caja.setDefaultButton(siPorDefecto ? QMessageBox::Yes : QMessageBox::No);
    caja.setEscapeButton(QMessageBox::No);
    caja.exec();
    const bool respuesta = caja.clickedButton() == si;
    DevolverTeclado(delante);
    return respuesta;
}

int ServiciosEscritorio::mostrarModal(QDialog& dialogo) {
    const QPointer<QWidget> delante = VentanaDelante();
    const int resultado = dialogo.exec();
    DevolverTeclado(delante);
    return resultado;
}

bool ServiciosEscritorio::abrirDireccion(const QString& direccion) {
    // An address with a scheme goes as it is; anything else is a file on this machine.
    const QUrl url = QUrl::fromUserInput(direccion, QDir::currentPath(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

bool ServiciosEscritorio::iniciarPrograma(const QString& programa, const QStringList& argumentos) {
    return QProcess::startDetached(programa, argumentos);
}

std::unique_ptr<QFileDialog> DialogoGuardar(const QString& titulo, const QString& nombreSugerido,
                                            const QString& filtro, QWidget* padre) {
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty()) carpeta = QDir::homePath();
    auto dialogo = std::make_unique<QFileDialog>(padre, titulo,
                                                 QDir(carpeta).filePath(nombreSugerido), filtro);
    dialogo->setObjectName(QStringLiteral("DialogoGuardar"));
    // Qt's own dialog on every desk, whatever its desktop: the same texts, the program's.
    dialogo->setOption(QFileDialog::DontUseNativeDialog);
    dialogo->setAcceptMode(QFileDialog::AcceptSave);
    dialogo->setFileMode(QFileDialog::AnyFile);
    // In Spanish even where Qt's own translations are missing.
    dialogo->setLabelText(QFileDialog::LookIn, QStringLiteral("Guardar &en:"));
    dialogo->setLabelText(QFileDialog::FileName, QStringLiteral("&Nombre:"));
    dialogo->setLabelText(QFileDialog::FileType, QStringLiteral("&Tipo:"));
    dialogo->setLabelText(QFileDialog::Accept, QStringLiteral("&Guardar"));
    dialogo->setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    // A caption's access key is only a key with a box to go to; Qt leaves these two without.
    for (const auto& [etiqueta, caja] :
         {std::pair("lookInLabel", "lookInCombo"), std::pair("fileTypeLabel", "fileTypeCombo")}) {
        auto* texto = dialogo->findChild<QLabel*>(QLatin1String(etiqueta));
        if (texto && !texto->buddy())
            texto->setBuddy(dialogo->findChild<QWidget*>(QLatin1String(caja)));
    }
    // Column titles whole, however Qt sized them or last left them; the name takes what the
    // others leave, so all of them show without scrolling.
    if (auto* detalle = dialogo->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* titulos = detalle->header();
        titulos->setStretchLastSection(false);
        for (int c = 1; c < titulos->count(); ++c) {
            titulos->setSectionResizeMode(c, QHeaderView::Interactive);
            titulos->resizeSection(c,
                                   std::max(titulos->sectionSize(c), titulos->sectionSizeHint(c)));
        }
        if (titulos->count() > 0) titulos->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    // The suffix of the filter is added when the user types a name without it.
    const QString sufijo = QFileInfo(nombreSugerido).suffix();
    if (!sufijo.isEmpty()) dialogo->setDefaultSuffix(sufijo);
    // Wide enough for names such as the suggested one beside their kind and date.
    if (QScreen* pantalla = dialogo->screen()) {
        const int ancho = pantalla->availableGeometry().width() * 4 / 5;
        if (dialogo->width() < ancho) dialogo->resize(ancho, dialogo->height());
    }
    CaberEnPantalla(dialogo.get());
    return dialogo;
}

QString ServiciosEscritorio::elegirArchivoGuardar(const QString& titulo,
                                                  const QString& nombreSugerido,
                                                  const QString& filtro) {
    const QPointer<QWidget> delante = VentanaDelante();
    const std::unique_ptr<QFileDialog> dialogo =
        DialogoGuardar(titulo, nombreSugerido, filtro, delante);
    const bool elegido =
        dialogo->exec() == QDialog::Accepted && !dialogo->selectedFiles().isEmpty();
    DevolverTeclado(delante);
    return elegido ? dialogo->selectedFiles().constFirst() : QString();
}

ServiciosVentana& Servicios() {
    static ServiciosEscritorio escritorio;
    return instalados ? *instalados : escritorio;
}

void InstalarServicios(ServiciosVentana* servicios) { instalados = servicios; }

const QString TituloErrorBD = QStringLiteral("Error de Base de Datos");

void MensajeErrorBD(const db::ErrorBD& error) { MensajeError(error.mensaje(), TituloErrorBD); }

void MensajeError(const QString& texto, const QString& titulo) {
    // A window whose opening lists all meet the same failure (another station's lock) says it
    // once, not once per list.
    static QPointer<QWidget> abriendo;
    static QString dicho;
    if (QWidget* v = VentanaAbriendo()) {
        if (v == abriendo && texto == dicho) return;
        abriendo = v;
        dicho = texto;
    }
    ++mostrados;
    Servicios().mostrarMensaje(IconoMensaje::Critico, texto, titulo);
}

void MensajeInformacion(const QString& texto, const QString& titulo) {
    ++mostrados;
    Servicios().mostrarMensaje(IconoMensaje::Informacion, texto, titulo);
}

bool Preguntar(const QString& texto, const QString& titulo, bool siPorDefecto) {
    ++mostrados;
    return Servicios().preguntar(texto, titulo, siPorDefecto);
}

int MensajesMostrados() { return mostrados; }
