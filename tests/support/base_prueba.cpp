#include "base_prueba.h"

#include <sqlite3.h>

#include <QTest>
#include <cstdio>

#include "controlador_odbc.h"
#include "db/embedded/motor_incrustado.h"
#include "db/motor_odbc.h"
#include "servidor_tds.h"
#include "startup/global.h"

namespace {

const QString kUsuario = QStringLiteral("prueba");
const QString kContrasena = QStringLiteral("clave");

// The stand-in's switches from SOLICITUDES_TDS, separated by commas: nocount, disparador=N,
// comentarios-texto, nvarchar, truncado-antiguo; so that the same window tests meet a server
// set up another way. "bitacora" writes each request to stderr.
void Interruptores(ServidorTds& s) {
    for (const QByteArray& x : qgetenv("SOLICITUDES_TDS").split(',')) {
        const QByteArray i = x.trimmed().toLower();
        if (i == "nocount")
            s.ponerNocount(true);
        else if (i.startsWith("disparador="))
            s.ponerConteoDisparador(i.mid(11).toInt());
        else if (i == "comentarios-texto")
            s.ponerComentariosTexto(true);
        else if (i == "nvarchar")
            s.ponerNvarchar(true);
        else if (i == "truncado-antiguo")
            s.ponerTruncadoAntiguo(true);
        else if (i == "bitacora")
            s.bitacora(
                [](const QString& linea) { std::fprintf(stderr, "TDS %s\n", qPrintable(linea)); });
        else if (!i.isEmpty())
            qFatal("SOLICITUDES_TDS: no conozco «%s»", i.constData());
    }
}

}  // namespace

BasePrueba::Camino BasePrueba::CaminoElegido() {
    const QByteArray c = qgetenv("SOLICITUDES_CAMINO").trimmed().toLower();
    if (c == "odbc") return Camino::Odbc;
    if (!c.isEmpty() && c != "incrustado")
        qFatal("SOLICITUDES_CAMINO debe ser «incrustado» u «odbc», no «%s»", c.constData());
    return Camino::Incrustado;
}

BasePrueba::BasePrueba(const QString& centro, const QString& sucursal) : camino_(CaminoElegido()) {
    Global::Desconectar();
    // The empty databases first; every connection then opens them as a desk does, already
    // there.
    { db::MotorIncrustado crear(carpetaDatos()); }
    if (camino_ == Camino::Incrustado) {
        Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(carpetaDatos()));
    } else {
        if (!RegistrarFreeTds()) qFatal("el camino odbc necesita FreeTDS (paquete tdsodbc)");
        servidor_ = std::make_unique<ServidorTds>(carpetaDatos(), kUsuario, kContrasena);
        if (!servidor_->escuchando()) qFatal("%s", qPrintable(servidor_->falla()));
        Interruptores(*servidor_);
        directo_ = std::make_unique<db::MotorIncrustado>(carpetaDatos());
        Global::Conexion.abrir(std::make_unique<db::MotorOdbc>(cadenaOdbc(), 5));
    }
    Global::CarpetaConfiguracion = dir_.path();
    Global::Ajustes = configuracion::AjustesPredeterminados(dir_.path());
    Global::CentroDistribucion = centro;
    Global::SucursalActual = sucursal;
    Global::CambiosPendientes = false;
    observador_ = Global::Conexion.agregarObservador([this](const QString& s) { enviadas << s; });
}

BasePrueba::~BasePrueba() {
    Global::Conexion.quitarObservador(observador_);
    Global::Desconectar();
    servidor_.reset();
    directo_.reset();
}

QString BasePrueba::carpetaDatos() const { return dir_.filePath(QStringLiteral("datos")); }

QString BasePrueba::cadenaOdbc() const {
    if (!servidor_) return {};
    return QStringLiteral("Driver={SQL Server};Server=127.0.0.1,%1;Database=erp_oxa;Uid=%2;Pwd=%3;")
        .arg(servidor_->puerto())
        .arg(kUsuario, kContrasena);
}

db::MotorIncrustado& BasePrueba::motorDirecto() const {
    if (directo_) return *directo_;
    auto* motor = dynamic_cast<db::MotorIncrustado*>(Global::Conexion.motor());
    if (!motor) qFatal("Global::Conexion no está abierta en el motor incrustado");
    return *motor;
}

sqlite3* BasePrueba::manejador() const { return motorDirecto().manejador(); }

std::unique_ptr<db::Motor> BasePrueba::otraEstacion() const {
    if (servidor_) return std::make_unique<db::MotorOdbc>(cadenaOdbc(), 5);
    auto otra = std::make_unique<db::MotorIncrustado>(carpetaDatos());
    if (limiteEspera_ > 0) otra->limiteEspera(limiteEspera_);
    return otra;
}

void BasePrueba::limiteEspera(int milisegundos) {
    limiteEspera_ = milisegundos;
    if (servidor_)
        servidor_->ponerLimiteEspera(milisegundos);
    else
        motorDirecto().limiteEspera(milisegundos);
}

void BasePrueba::sqlite(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(manejador(), sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString mensaje = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        QTest::qFail(qPrintable(mensaje + QStringLiteral(" en: ") + sql), __FILE__, __LINE__);
}

QStringList BasePrueba::filas(const QString& sql) {
    QStringList r;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(manejador(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        QTest::qFail(qPrintable(QString::fromUtf8(sqlite3_errmsg(manejador())) +
                                QStringLiteral(" en: ") + sql),
                     __FILE__, __LINE__);
        return r;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList columnas;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            columnas << (sqlite3_column_type(st, i) == SQLITE_NULL
                             ? QStringLiteral("NULL")
                             : QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
        r << columnas.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return r;
}

QVariant BasePrueba::valor(const QString& sql) {
    sqlite3_stmt* st = nullptr;
    QVariant v;
    if (sqlite3_prepare_v2(manejador(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        QTest::qFail(qPrintable(QString::fromUtf8(sqlite3_errmsg(manejador()))), __FILE__,
                     __LINE__);
        return v;
    }
    if (sqlite3_step(st) == SQLITE_ROW) {
        switch (sqlite3_column_type(st, 0)) {
            case SQLITE_INTEGER:
                v = static_cast<qlonglong>(sqlite3_column_int64(st, 0));
                break;
            case SQLITE_FLOAT:
                v = sqlite3_column_double(st, 0);
                break;
            case SQLITE_NULL:
                break;
            default:
                v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        }
    }
    sqlite3_finalize(st);
    return v;
}
