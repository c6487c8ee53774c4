#pragma once
// What the benchmarks' windows run on: the offscreen platform unless another is asked for,
// messages written out instead of waiting for a click, and the office's files in the folder
// given or beside the executable.
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "startup/global.h"
#include "ui/servicios.h"

namespace escritorio {

class SinCajas : public ServiciosVentana {
  public:
    void mostrarMensaje(IconoMensaje, const QString& texto, const QString& titulo) override {
        std::fprintf(stderr, "mensaje: %s: %s\n", qPrintable(titulo), qPrintable(texto));
        ++mensajes;
    }
    bool preguntar(const QString&, const QString&, bool) override { return false; }
    int mostrarModal(QDialog&) override { return QDialog::Rejected; }
    bool abrirDireccion(const QString&) override { return false; }
    bool iniciarPrograma(const QString&, const QStringList&) override { return false; }
    QString elegirArchivoGuardar(const QString&, const QString&, const QString&) override {
        return {};
    }
    int mensajes = 0;
};

// The offscreen platform says of every window shown that it cannot raise it; nothing else of
// Qt's is left out.
inline void SinAvisosDePlataforma(QtMsgType tipo, const QMessageLogContext& contexto,
                                  const QString& texto) {
    if (texto.startsWith(QLatin1String("This plugin does not support"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(tipo, contexto, texto)));
}

// Before the QApplication.
inline void PrepararProceso() {
    Global::PrepararProceso();
    qInstallMessageHandler(SinAvisosDePlataforma);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The folder of the office's files: the first argument, or datos_bench beside the executable.
inline QString CarpetaDatos(int argc, char** argv) {
    return argc > 1 ? QString::fromLocal8Bit(argv[1])
                    : QDir(QCoreApplication::applicationDirPath())
                          .filePath(QStringLiteral("datos_bench"));
}

}  // namespace escritorio
