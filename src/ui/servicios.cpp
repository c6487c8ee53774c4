#include "ui/servicios.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace {

ServiciosVentana* instalados = nullptr;
int mostrados = 0;

// The box belongs to the window in front, so it stays over it and centred on it.
QWidget* VentanaDelante() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace

void ServiciosEscritorio::mostrarMensaje(IconoMensaje icono, const QString& texto,
                                         const QString& titulo) {
    const QMessageBox::Icon dibujo = icono == IconoMensaje::Critico    ? QMessageBox::Critical
                                     : icono == IconoMensaje::Pregunta ? QMessageBox::Question
                                                                       : QMessageBox::Information;
    QMessageBox caja(dibujo, titulo, texto, QMessageBox::Ok, VentanaDelante());
    caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    caja.exec();
}

bool ServiciosEscritorio::preguntar(const QString& texto, const QString& titulo,
                                    bool siPorDefecto) {
    QMessageBox caja(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No,
                     VentanaDelante());
    QAbstractButton* si = caja.button(QMessageBox::Yes);
    si->setText(QStringLiteral("&Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    caja.setDefaultButton(siPorDefecto ? QMessageBox::Yes : QMessageBox::No);
    caja.setEscapeButton(QMessageBox::No);
    caja.exec();
    return caja.clickedButton() == si;
}

int ServiciosEscritorio::mostrarModal(QDialog& dialogo) { return dialogo.exec(); }

bool ServiciosEscritorio::abrirDireccion(const QString& direccion) {
    // An address with a scheme goes as it is; anything else is a file on this machine.
    const QUrl url = QUrl::fromUserInput(direccion, QDir::currentPath(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

bool ServiciosEscritorio::iniciarPrograma(const QString& programa, const QStringList& argumentos) {
    return QProcess::startDetached(programa, argumentos);
}

ServiciosVentana& Servicios() {
    static ServiciosEscritorio escritorio;
    return instalados ? *instalados : escritorio;
}

void InstalarServicios(ServiciosVentana* servicios) { instalados = servicios; }

void MensajeError(const QString& texto, const QString& titulo) {
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
