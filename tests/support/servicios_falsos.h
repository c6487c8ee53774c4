#pragma once
// Window services for tests: every message, question, modal window, address and program is
// recorded instead of shown or started; questions are answered from a queue.
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

#include "ui/servicios.h"

struct MensajeMostrado {
    IconoMensaje icono;
    QString texto;
    QString titulo;
};

struct PreguntaHecha {
    QString texto;
    QString titulo;
    bool siPorDefecto;
    bool respuesta;
};

struct DialogoMostrado {
    QString clase;   // the window's class, e.g. "FrmComentarios"
    QString nombre;  // its objectName
    QString titulo;  // its caption
    int resultado;   // what the modal call returned
};

struct ProgramaIniciado {
    QString programa;
    QStringList argumentos;
};

class ServiciosFalsos : public ServiciosVentana {
  public:
    // Installs itself for the whole application; the destructor puts back the services that
    // were there before.
    ServiciosFalsos();
    ~ServiciosFalsos() override;
    ServiciosFalsos(const ServiciosFalsos&) = delete;
    ServiciosFalsos& operator=(const ServiciosFalsos&) = delete;

    void mostrarMensaje(IconoMensaje icono, const QString& texto, const QString& titulo) override;
    bool preguntar(const QString& texto, const QString& titulo, bool siPorDefecto) override;
    // Shows the window without a modal loop, runs the next action on it (from
    // `accionesModales`, else `alMostrarModal`), hides it if still shown and returns
    // its result(). With no action the window is simply left: Rejected.
    int mostrarModal(QDialog& dialogo) override;
    bool abrirDireccion(const QString& direccion) override;
    bool iniciarPrograma(const QString& programa, const QStringList& argumentos) override;
    // Records the request and answers `archivoGuardar` (empty: the user cancelled).
    QString elegirArchivoGuardar(const QString& titulo, const QString& nombreSugerido,
                                 const QString& filtro) override;

    // Answers for the coming questions, in order; when none is left the answer is No and
    // `preguntasSinRespuesta` counts it.
    QQueue<bool> respuestas;
    QList<std::function<void(QDialog&)>> accionesModales;
    std::function<void(QDialog&)> alMostrarModal;
    // Called as each message is recorded (to look at the window at that moment).
    std::function<void(const MensajeMostrado&)> alMostrarMensaje;
    bool resultadoAbrir = true;
    bool resultadoIniciar = true;
    QString archivoGuardar;

    QList<MensajeMostrado> mensajes;
    QList<PreguntaHecha> preguntas;
    QList<DialogoMostrado> dialogos;
    QStringList direcciones;
    QList<ProgramaIniciado> programas;
    // Title, suggested name and filter of each save dialog asked for.
    QList<QStringList> dialogosGuardar;
    int preguntasSinRespuesta = 0;

    // Forgets what was recorded (not the answers still queued).
    void limpiar();
    // The texts of the messages, in order.
    QStringList textos() const;

  private:
    ServiciosVentana* anteriores_;
};
