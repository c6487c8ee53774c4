#include "base_prueba.h"

#include <QTest>
#include <sqlite3.h>

#include "db/embedded/motor_incrustado.h"
#include "startup/global.h"

BasePrueba::BasePrueba(const QString& centro, const QString& sucursal) {
    Global::Desconectar();
    Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(dir_.filePath(QStringLiteral("datos"))));
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
}

sqlite3* BasePrueba::manejador() const {
    auto* motor = dynamic_cast<db::MotorIncrustado*>(Global::Conexion.motor());
    return motor ? motor->manejador() : nullptr;
}

void BasePrueba::sqlite(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(manejador(), sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString mensaje = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    if (rc != SQLITE_OK) QTest::qFail(qPrintable(mensaje + QStringLiteral(" en: ") + sql), __FILE__, __LINE__);
}

QStringList BasePrueba::filas(const QString& sql) {
    QStringList r;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(manejador(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        QTest::qFail(qPrintable(QString::fromUtf8(sqlite3_errmsg(manejador())) + QStringLiteral(" en: ") + sql),
                     __FILE__, __LINE__);
        return r;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList columnas;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            columnas << (sqlite3_column_type(st, i) == SQLITE_NULL
                             ? QStringLiteral("NULL")
                             : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
        r << columnas.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return r;
}

QVariant BasePrueba::valor(const QString& sql) {
    sqlite3_stmt* st = nullptr;
    QVariant v;
    if (sqlite3_prepare_v2(manejador(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        QTest::qFail(qPrintable(QString::fromUtf8(sqlite3_errmsg(manejador()))), __FILE__, __LINE__);
        return v;
    }
    if (sqlite3_step(st) == SQLITE_ROW) {
        switch (sqlite3_column_type(st, 0)) {
            case SQLITE_INTEGER: v = static_cast<qlonglong>(sqlite3_column_int64(st, 0)); break;
            case SQLITE_FLOAT: v = sqlite3_column_double(st, 0); break;
            case SQLITE_NULL: break;
            default: v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        }
    }
    sqlite3_finalize(st);
    return v;
}
