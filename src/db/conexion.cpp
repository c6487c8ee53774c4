#include "db/conexion.h"

#include <QDir>
#include <QStringList>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "db/motor_odbc.h"
#include "db/sql.h"

namespace db {

Conexion::Conexion() = default;
Conexion::~Conexion() = default;

void Conexion::abrir(const QString& cadenaConexion, const QString& carpetaBase) {
    cerrar();
    if (cadenaConexion.trimmed().isEmpty())
        throw ErrorBD(
            QStringLiteral("No hay cadena de conexión: la tabla de arranque no tiene "
                           "ningún renglón."));
    const QString servidor = servidorDeCadena(cadenaConexion);
    if (servidor.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        QString ruta = servidor.mid(7);
        if (QDir::isRelativePath(ruta) && !carpetaBase.isEmpty())
            ruta = QDir(carpetaBase).filePath(ruta);
        motor_ = std::make_unique<MotorIncrustado>(QDir::cleanPath(ruta), avisoEspera_);
        if (avisoTrabajo_) motor_->avisarTrabajo(avisoTrabajo_);
    } else {
        motor_ = std::make_unique<MotorOdbc>(cadenaConexion);
    }
}

void Conexion::abrir(std::unique_ptr<Motor> motor) {
    motor_ = std::move(motor);
    enTransaccion_ = false;
    // An engine made with its own notice keeps it unless this connection has one.
    if (motor_ && avisoEspera_) motor_->avisarEspera(avisoEspera_);
    if (motor_ && avisoTrabajo_) motor_->avisarTrabajo(avisoTrabajo_);
}

void Conexion::alTrabajar(AvisoTrabajo aviso) {
    avisoTrabajo_ = std::move(aviso);
    if (motor_) motor_->avisarTrabajo(avisoTrabajo_);
}

void Conexion::alEsperarBloqueo(AvisoEspera aviso) {
    avisoEspera_ = std::move(aviso);
    if (motor_) motor_->avisarEspera(avisoEspera_);
}

void Conexion::cerrar() {
    motor_.reset();
    enTransaccion_ = false;
}

template <class F>
auto Conexion::conFalla(F&& llamada) -> decltype(llamada()) {
    try {
        return llamada();
    } catch (const ErrorBD& e) {
        ultimaFalla_ = e.explicacion();
        throw;
    }
}

Motor& Conexion::motorAbierto() {
    if (!motor_) throw ErrorBD(QStringLiteral("La conexión a la base de datos está cerrada."));
    return *motor_;
}

std::unique_ptr<Resultado> Conexion::consultar(const QString& sql) {
    Motor& m = motorAbierto();
    informar(sql);
    return conFalla([&] { return m.consultar(sql); });
}

long long Conexion::ejecutar(const QString& sql) {
    Motor& m = motorAbierto();
    informar(sql);
    return conFalla([&] { return m.ejecutar(sql); });
}

std::unique_ptr<Resultado> Conexion::llamar(const QString& procedimiento,
                                            QList<Parametro>& parametros) {
    Motor& m = motorAbierto();
    informar(textoLlamada(procedimiento, parametros));
    return conFalla([&] { return m.llamar(procedimiento, parametros); });
}

void Conexion::iniciarTransaccion() {
    Motor& m = motorAbierto();
    informar(QStringLiteral("BEGIN TRANSACTION"), true);
    ultimaFalla_.clear();
    conFalla([&] { m.iniciarTransaccion(); });
    enTransaccion_ = true;
}

void Conexion::confirmarTransaccion() {
    Motor& m = motorAbierto();
    informar(QStringLiteral("COMMIT TRANSACTION"), true);
    conFalla([&] { m.confirmarTransaccion(); });
    enTransaccion_ = false;
}

void Conexion::deshacerTransaccion(const QString& motivo) {
    if (!enTransaccion_) return;
    enTransaccion_ = false;
    QString paso = QStringLiteral("ROLLBACK TRANSACTION");
    if (!motivo.isEmpty())
        paso +=
            QStringLiteral(" -- ") + QString(motivo).replace(QLatin1Char('\n'), QLatin1Char(' '));
    informar(paso, true);
    if (!motor_) return;
    try {
        motor_->deshacerTransaccion();
    } catch (const ErrorBD& e) {
        ultimaFalla_ = e.explicacion();
    }
}

int Conexion::agregarObservador(Observador o, bool conPasos) {
    const int id = siguienteId_++;
    observadores_.push_back(Suscrito{id, std::move(o), conPasos});
    return id;
}

void Conexion::quitarObservador(int id) {
    std::erase_if(observadores_, [id](const Suscrito& s) { return s.id == id; });
}

void Conexion::informar(const QString& texto, bool esPaso) {
    for (const Suscrito& s : observadores_)
        if (!esPaso || s.conPasos) s.observador(texto);
}

QString textoLlamada(const QString& procedimiento, const QList<Parametro>& parametros) {
    QStringList partes;
    for (const Parametro& p : parametros) {
        QString valor;
        if (p.direccion == Direccion::Salida)
            valor = QStringLiteral("? OUTPUT");
        else if (p.valor.isNull())
            valor = QStringLiteral("NULL");
        else if (p.tipo == TipoParametro::Integer)
            valor = p.valor.toString();
        else
            valor = Texto(p.valor.toString());
        partes << p.nombre + QLatin1Char('=') + valor;
    }
    QString texto = QStringLiteral("EXEC ") + procedimiento;
    if (!partes.isEmpty()) texto += QLatin1Char(' ') + partes.join(QStringLiteral(", "));
    return texto;
}

}  // namespace db
