#include "ui/ventana.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "instalacion.h"

namespace {

constexpr char NombrePiel[] = "Msn2008.skn";
constexpr char MarcaActivador[] = "activarAlMostrar";

class ActivadorVentana : public QObject {
  public:
    explicit ActivadorVentana(QWidget* ventana) : QObject(ventana) {}

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Show) {
            auto* ventana = static_cast<QWidget*>(objeto);
            Activar(ventana);
            // Again once the window is really on screen: a request made before it was mapped
            // can be lost.
            QTimer::singleShot(0, ventana, [v = QPointer<QWidget>(ventana)] {
                if (v && v->isVisible() && !v->isActiveWindow()) Activar(v);
            });
        }
        return false;
    }

  private:
    static void Activar(QWidget* ventana) {
        ventana->raise();
        ventana->activateWindow();
    }
};

bool HayInterfazGrafica() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void PrepararVentana(QWidget* ventana, int anchoTwips, int altoTwips) {
    const QSize cliente(Pixeles(anchoTwips), Pixeles(altoTwips));
    if (ventana->windowFlags() & Qt::MSWindowsFixedSizeDialogHint)
        ventana->setFixedSize(cliente);
    else
        ventana->resize(cliente);
    ColocarVentana(ventana);
    AplicarPiel(ventana);
    ActivarAlMostrar(ventana);
}

void ColocarVentana(QWidget* ventana) {
    QScreen* pantalla = ventana->screen();
    if (!pantalla) pantalla = QGuiApplication::primaryScreen();
    if (!pantalla) return;
    const QRect libre = pantalla->availableGeometry();
    // Once shown the frame is known; before that the client size is the best guess.
    const QSize tamano = ventana->isVisible() ? ventana->frameGeometry().size() : ventana->size();
    ventana->move(libre.x() + (libre.width() - tamano.width()) / 2,
                  libre.y() + (libre.height() - tamano.height()) / 4);
}

QString RutaPiel(const QString& carpeta) {
    if (!carpeta.isEmpty()) return QDir(carpeta).filePath(QLatin1String(NombrePiel));
    const QDir programa(QCoreApplication::applicationDirPath());
    const QString junto = programa.filePath(QLatin1String(NombrePiel));
    // Installed, the executable is in /usr/bin and the skin in /usr/share/solicitudes.
    const QString instalada = QDir::cleanPath(programa.filePath(
        QStringLiteral(SOLICITUDES_CARPETA_DATOS "/") + QLatin1String(NombrePiel)));
    return QFile::exists(junto) || !QFile::exists(instalada) ? junto : instalada;
}

bool AplicarPiel(QWidget* ventana, const QString& carpeta) {
    QFile archivo(RutaPiel(carpeta));
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    ventana->setStyleSheet(QString::fromUtf8(archivo.readAll()));
    return true;
}

void ActivarAlMostrar(QWidget* ventana) {
    if (ventana->property(MarcaActivador).toBool()) return;
    ventana->setProperty(MarcaActivador, true);
    ventana->installEventFilter(new ActivadorVentana(ventana));
}

CursorEspera::CursorEspera() {
    if (HayInterfazGrafica()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CursorEspera::~CursorEspera() {
    if (HayInterfazGrafica()) QGuiApplication::restoreOverrideCursor();
}
