#include "servicios_falsos.h"

#include <QDialog>

ServiciosFalsos::ServiciosFalsos() : anteriores_(&Servicios()) { InstalarServicios(this); }

ServiciosFalsos::~ServiciosFalsos() {
    // The desktop's services are the default; putting them back is uninstalling.
    InstalarServicios(dynamic_cast<ServiciosEscritorio*>(anteriores_) ? nullptr : anteriores_);
}

void ServiciosFalsos::mostrarMensaje(IconoMensaje icono, const QString& texto,
                                     const QString& titulo) {
    mensajes.append({icono, texto, titulo});
    if (alMostrarMensaje) alMostrarMensaje(mensajes.last());
}

bool ServiciosFalsos::preguntar(const QString& texto, const QString& titulo, bool siPorDefecto) {
    bool respuesta = false;
    if (respuestas.isEmpty())
        ++preguntasSinRespuesta;
    else
        respuesta = respuestas.dequeue();
    preguntas.append({texto, titulo, siPorDefecto, respuesta});
    return respuesta;
}

int ServiciosFalsos::mostrarModal(QDialog& dialogo) {
    const int registro = dialogos.size();
    dialogos.append({QString::fromLatin1(dialogo.metaObject()->className()), dialogo.objectName(),
                     dialogo.windowTitle(), QDialog::Rejected});
    dialogo.setResult(QDialog::Rejected);
    dialogo.show();
    std::function<void(QDialog&)> accion =
        !accionesModales.isEmpty() ? accionesModales.takeFirst() : alMostrarModal;
    if (accion) accion(dialogo);
    // exec() would return only once the window is closed.
    if (dialogo.isVisible()) dialogo.hide();
    const int resultado = dialogo.result();
    dialogos[registro].resultado = resultado;
    return resultado;
}

bool ServiciosFalsos::abrirDireccion(const QString& direccion) {
    direcciones.append(direccion);
    return resultadoAbrir;
}

bool ServiciosFalsos::iniciarPrograma(const QString& programa, const QStringList& argumentos) {
    programas.append({programa, argumentos});
    return resultadoIniciar;
}

QString ServiciosFalsos::elegirArchivoGuardar(const QString& titulo, const QString& nombreSugerido,
                                              const QString& filtro) {
    dialogosGuardar.append({titulo, nombreSugerido, filtro});
    return archivoGuardar;
}

void ServiciosFalsos::limpiar() {
    mensajes.clear();
    preguntas.clear();
    dialogos.clear();
    direcciones.clear();
    programas.clear();
    dialogosGuardar.clear();
    preguntasSinRespuesta = 0;
}

QStringList ServiciosFalsos::textos() const {
    QStringList lista;
    for (const MensajeMostrado& m : mensajes) lista.append(m.texto);
    return lista;
}
