#include "db/motor_odbc.h"

#include <sql.h>
#include <sqlext.h>

#include <QAtomicInteger>
#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTime>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "db/cadena_conexion.h"
#include "db/error_bd.h"
#include "db/fallas.h"

namespace db {

namespace {

// ODBC's type code for bit columns (SQL_BIT); Qt hands them over as integers, the program reads
// them as Booleans.
constexpr int kTipoSqlBit = -7;

// Each engine gets its own Qt connection name, so two engines (a test's, the program's) never
// share one.
QAtomicInteger<int> siguienteConexion{0};

QString textoError(const QSqlError& e) {
    const QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("(el controlador no dio detalles)") : t;
}

bool tieneClave(const QString& cadena, QLatin1String clave) {
    return valorDeCadena(cadena, clave).has_value();
}

// The rows are read whole when the statement runs, as ADO's client-side cursor does: the
// connection is then free for the next statement while the window still walks this result
// (SQL Server will not start a statement while another one's rows are pending).
class ResultadoOdbc : public Resultado {
  public:
    int columnas() const override { return static_cast<int>(nombres_.size()); }
    QString nombreColumna(int i) const override {
        return i >= 0 && i < nombres_.size() ? nombres_.at(i) : QString();
    }
    bool siguiente() override {
        if (actual_ < static_cast<qsizetype>(filas_.size())) ++actual_;
        return actual_ < static_cast<qsizetype>(filas_.size());
    }
    QVariant valor(int i) const override {
        if (actual_ < 0 || actual_ >= static_cast<qsizetype>(filas_.size())) return {};
        const QVariantList& fila = filas_[static_cast<size_t>(actual_)];
        return i >= 0 && i < fila.size() ? fila.at(i) : QVariant();
    }

    QStringList nombres_;
    std::vector<QVariantList> filas_;
    qsizetype actual_ = -1;
};

// The value types the rest of the program expects, whatever width the driver chose.
QVariant normalizar(const QVariant& v, int tipoSql) {
    if (v.isNull()) return {};
    if (tipoSql == kTipoSqlBit) return v.toLongLong() != 0;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return v.toLongLong();
        case QMetaType::ULongLong:
            return static_cast<qint64>(v.toULongLong());
        case QMetaType::Float:
            return v.toDouble();
        case QMetaType::QDate:
            return QDateTime(v.toDate(), QTime(0, 0));
        default:
            return v;
    }
}

std::unique_ptr<Resultado> leerResultado(QSqlQuery& q) {
    auto r = std::make_unique<ResultadoOdbc>();
    if (!q.isSelect()) return r;
    const QSqlRecord registro = q.record();
    std::vector<int> tipos;
    for (int i = 0; i < registro.count(); ++i) {
        r->nombres_ << registro.fieldName(i);
        tipos.push_back(registro.field(i).typeID());
    }
    while (q.next()) {
        QVariantList fila;
        fila.reserve(registro.count());
        for (int i = 0; i < registro.count(); ++i)
            fila << normalizar(q.value(i), tipos[static_cast<size_t>(i)]);
        r->filas_.push_back(std::move(fila));
    }
    return r;
}

// A statement may report row counts before its first row set (an INSERT before a SELECT, a
// procedure without SET NOCOUNT ON): the result the program wants is the first with columns.
void saltarConteos(QSqlQuery& q) {
    while (q.isActive() && !q.isSelect() && q.nextResult()) {
    }
}

QDateTime fechaDeTexto(const QString& texto) {
    static const char* const formatos[] = {
        "yyyy/MM/dd",          "yyyy/MM/dd HH:mm:ss", "yyyy-MM-dd",
        "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyyMMdd",
        "dd/MM/yyyy",          "dd/MM/yyyy HH:mm:ss",
    };
    const QString t = texto.trimmed();
    for (const char* f : formatos) {
        const QDateTime d = QDateTime::fromString(t, QLatin1String(f));
        // Kept in UTC so that no daylight-saving gap can move a midnight: only the fields travel.
        if (d.isValid()) return QDateTime(d.date(), d.time(), Qt::UTC);
    }
    return {};
}

}  // namespace

QString MotorOdbc::cadenaParaControlador(const QString& cadenaConexion) {
    QString r = cadenaConexion;
    auto agregar = [&r](const QString& par) {
        if (!r.isEmpty() && !r.trimmed().endsWith(QLatin1Char(';'))) r += QLatin1Char(';');
        r += par + QLatin1Char(';');
    };
    // FreeTDS's default "auto" tries one protocol after another and ignores the login time-out
    // while doing so: a server that accepts the connection and never answers hangs the program.
    // 7.4 is what every SQL Server since 2012 speaks; TDSVER in the environment still overrides.
    if (!tieneClave(cadenaConexion, QLatin1String("TDS_Version")))
        agregar(QStringLiteral("TDS_Version=7.4"));
    // The Windows driver assumes 1433 for a bare host; FreeTDS tries no port at all and reads
    // no freetds.conf for a string that names its server with Server=.
    const QString servidor = servidorDeCadena(cadenaConexion);
    if (!servidor.isEmpty() && !servidor.contains(QLatin1Char(',')) &&
        !servidor.contains(QLatin1Char('\\')) && !tieneClave(cadenaConexion, QLatin1String("Port")))
        agregar(QStringLiteral("Port=1433"));
    return r;
}

QString MotorOdbc::textoLlamadaOdbc(const QString& procedimiento, int parametros) {
    if (parametros <= 0) return QStringLiteral("{CALL %1}").arg(procedimiento);
    QStringList marcas;
    for (int i = 0; i < parametros; ++i) marcas << QStringLiteral("?");
    return QStringLiteral("{CALL %1(%2)}").arg(procedimiento, marcas.join(QLatin1Char(',')));
}

QVariant MotorOdbc::valorDeEntrada(const Parametro& p) {
    switch (p.tipo) {
        case TipoParametro::Char: {
            if (p.valor.isNull()) return QVariant(QMetaType::fromType<QString>());
            QString s = p.valor.toString();
            if (p.tamano > 0) s = s.left(p.tamano).leftJustified(p.tamano, QLatin1Char(' '));
            return s;
        }
        case TipoParametro::Integer: {
            if (p.valor.isNull()) return QVariant(QMetaType::fromType<int>());
            bool ok = false;
            qint64 n = 0;
            const int tipo = p.valor.typeId();
            if (tipo == QMetaType::Double || tipo == QMetaType::Float) {
                n = qRound64(p.valor.toDouble());
                ok = true;
            } else {
                n = p.valor.toLongLong(&ok);
                if (!ok) {
                    const double d = p.valor.toString().trimmed().toDouble(&ok);
                    if (ok) n = qRound64(d);
                }
            }
            if (!ok)
                throw ErrorBD(
                    QStringLiteral("El valor «%1» del parámetro %2 no es un número entero.")
                        .arg(p.valor.toString(), p.nombre));
            if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
                throw ErrorBD(QStringLiteral("El valor %1 del parámetro %2 no cabe en un entero.")
                                  .arg(n)
                                  .arg(p.nombre));
            return static_cast<int>(n);
        }
        case TipoParametro::DBTimeStamp: {
            if (p.valor.isNull()) return QVariant(QMetaType::fromType<QDateTime>());
            if (p.valor.typeId() == QMetaType::QDateTime) {
                const QDateTime d = p.valor.toDateTime();
                return QDateTime(d.date(), d.time(), Qt::UTC);
            }
            if (p.valor.typeId() == QMetaType::QDate)
                return QDateTime(p.valor.toDate(), QTime(0, 0), Qt::UTC);
            const QDateTime d = fechaDeTexto(p.valor.toString());
            if (!d.isValid())
                throw ErrorBD(QStringLiteral("El valor «%1» del parámetro %2 no es una fecha.")
                                  .arg(p.valor.toString(), p.nombre));
            return d;
        }
    }
    return p.valor;
}

MotorOdbc::MotorOdbc(const QString& cadenaConexion, int segundosEspera)
    : cadena_(cadenaConexion),
      segundosEspera_(std::max(1, segundosEspera)),
      nombreConexion_(
          QStringLiteral("solicitudes_odbc_%1").arg(siguienteConexion.fetchAndAddRelaxed(1))),
      servidor_(servidorDeCadena(cadenaConexion)),
      controlador_(valorDeCadena(cadenaConexion, QLatin1String("Driver")).value_or(QString())) {
    conectar();
}

void MotorOdbc::conectar() {
    std::optional<ErrorBD> falla;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nombreConexion_);
        if (!bd.isValid()) {
            falla = ErrorBD(TipoFalla::ControladorFaltante,
                            QStringLiteral("No está instalado el controlador ODBC de Qt (QODBC); "
                                           "pida a soporte que lo instale."),
                            textoError(bd.lastError()));
        } else {
            bd.setDatabaseName(cadenaParaControlador(cadena_));
            // Zero would mean "wait for ever"; a server that never answers must become a message.
            bd.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(segundosEspera_));
            if (!bd.open())
                falla = FallaOdbc(bd.lastError().nativeErrorCode(), textoError(bd.lastError()),
                                  servidor_, controlador_,
                                  QStringLiteral("No se pudo conectar con el servidor de base de "
                                                 "datos «%1»")
                                      .arg(servidor_));
        }
    }
    if (falla) {
        QSqlDatabase::removeDatabase(nombreConexion_);
        throw *falla;
    }
}

QSqlDatabase MotorOdbc::base() {
    if (perdida_) {
        if (enTransaccion_)
            throw ErrorBD(TipoFalla::ConexionPerdida,
                          QStringLiteral("Se perdió la conexión con el servidor de base de datos "
                                         "«%1» a mitad de la operación; no se guardó nada de ella.")
                              .arg(servidor_),
                          QString());
        // A new connection on the same string: the clerk's next action, never a statement
        // sent again behind the clerk's back.
        {
            QSqlDatabase vieja = QSqlDatabase::database(nombreConexion_, false);
            vieja.close();
        }
        QSqlDatabase::removeDatabase(nombreConexion_);
        conectar();
        perdida_ = false;
    }
    return QSqlDatabase::database(nombreConexion_, false);
}

bool MotorOdbc::enlaceMuerto() const {
    // The driver knows its socket is gone even when its message says only "Unknown error" (a
    // server that went away between two statements).
    const QSqlDatabase bd = QSqlDatabase::database(nombreConexion_, false);
    if (!bd.driver()) return false;
    const QVariant manejador = bd.driver()->handle();
    // Qt hands the connection's SQLHDBC as a void* (SQLHANDLE).
    if (!manejador.isValid() || manejador.metaType() != QMetaType::fromType<SQLHANDLE>())
        return false;
    SQLHANDLE hdbc = *static_cast<SQLHANDLE const*>(manejador.data());
    SQLUINTEGER muerta = SQL_CD_FALSE;
    return hdbc &&
           SQL_SUCCEEDED(SQLGetConnectAttr(hdbc, SQL_ATTR_CONNECTION_DEAD, &muerta, 0, nullptr)) &&
           muerta == SQL_CD_TRUE;
}

ErrorBD MotorOdbc::falloDe(const QSqlError& e, const QString& contexto) {
    // Qt hands over the native error numbers, not the SQLSTATE.
    const ErrorBD falla =
        FallaOdbc(e.nativeErrorCode(), textoError(e), servidor_, controlador_, contexto);
    if (falla.tipo() != TipoFalla::SinRespuesta && !enlaceMuerto()) return falla;
    // Connected before, so the server did answer: the link dropped under the work.
    perdida_ = true;
    return FallaOdbc(TipoFalla::ConexionPerdida, e.nativeErrorCode(), textoError(e), servidor_,
                     controlador_, contexto);
}

MotorOdbc::~MotorOdbc() {
    {
        QSqlDatabase bd = QSqlDatabase::database(nombreConexion_, false);
        // A connection left inside a transaction refuses to disconnect; the work is abandoned.
        if (enTransaccion_ && !perdida_) bd.rollback();
        bd.close();
    }
    QSqlDatabase::removeDatabase(nombreConexion_);
}

std::unique_ptr<Resultado> MotorOdbc::consultar(const QString& sql) {
    QSqlQuery q(base());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!q.exec(sql))
        throw falloDe(q.lastError(), QStringLiteral("SQL Server no pudo ejecutar la consulta"));
    saltarConteos(q);
    auto r = leerResultado(q);
    if (q.lastError().isValid())
        throw falloDe(q.lastError(),
                      QStringLiteral("SQL Server no pudo entregar el resultado de la consulta"));
    return r;
}

long long MotorOdbc::ejecutar(const QString& sql) {
    QSqlQuery q(base());
    q.setForwardOnly(true);
    const QString contexto = QStringLiteral("SQL Server no pudo ejecutar la instrucción");
    // The driver reports the first count of the reply, which is a trigger's when the table has
    // one, and none at all with NOCOUNT on: SQL Server is asked for it in the same batch.
    const bool sqlServer = q.driver() && q.driver()->dbmsType() == QSqlDriver::MSSqlServer;
    if (!q.exec(sqlServer ? sql + sufijoConteo() : sql)) throw falloDe(q.lastError(), contexto);
    const long long informada = q.numRowsAffected();
    saltarConteos(q);
    // An error raised after the first count (a trigger's, say) arrives with the next result.
    if (q.lastError().isValid()) throw falloDe(q.lastError(), contexto);
    if (q.isSelect() && q.next()) return q.value(0).toLongLong();
    if (q.lastError().isValid()) throw falloDe(q.lastError(), contexto);
    // A server that answered without the count (none seen so far): what the driver said.
    return informada;
}

std::unique_ptr<Resultado> MotorOdbc::llamar(const QString& procedimiento,
                                             QList<Parametro>& parametros) {
    QSqlQuery q(base());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    auto error = [this, &procedimiento](const QSqlError& e) {
        return falloDe(
            e,
            QStringLiteral("SQL Server no pudo ejecutar el procedimiento %1").arg(procedimiento));
    };
    if (!q.prepare(textoLlamadaOdbc(procedimiento, static_cast<int>(parametros.size()))))
        throw error(q.lastError());
    for (int i = 0; i < parametros.size(); ++i) {
        const Parametro& p = parametros.at(i);
        if (p.direccion == Direccion::Salida) {
            QVariant vacio;
            switch (p.tipo) {
                case TipoParametro::Integer:
                    vacio = QVariant(QMetaType::fromType<int>());
                    break;
                // The driver writes into the buffer bound, so a text output needs room for its
                // size.
                case TipoParametro::Char:
                    vacio = QString(std::max(1, p.tamano), QLatin1Char(' '));
                    break;
                case TipoParametro::DBTimeStamp:
                    vacio = QVariant(QMetaType::fromType<QDateTime>());
                    break;
            }
            q.bindValue(i, vacio, QSql::Out);
        } else {
            q.bindValue(i, valorDeEntrada(p), QSql::In);
        }
    }
    if (!q.exec()) throw error(q.lastError());

    // Qt's ODBC driver reads the outputs right after execution.
    for (int i = 0; i < parametros.size(); ++i) {
        Parametro& p = parametros[i];
        if (p.direccion != Direccion::Salida) continue;
        const QVariant v = q.boundValue(i);
        if (p.tipo == TipoParametro::Integer) {
            // The driver writes an integer output into the bound value without clearing its null
            // mark, so a value is told by its digits: a NULL output arrives as 0 and reads null,
            // as 0 does (the program gives both the same meaning: nothing was created).
            const int n = v.toInt();
            p.valor = (n == 0 && v.isNull()) ? QVariant() : QVariant(static_cast<qint64>(n));
        } else {
            p.valor = v.isNull() ? QVariant() : normalizar(v, 0);
        }
    }

    saltarConteos(q);
    if (!q.isSelect()) return nullptr;
    auto r = leerResultado(q);
    if (q.lastError().isValid()) throw error(q.lastError());
    return r;
}

void MotorOdbc::iniciarTransaccion() {
    QSqlDatabase bd = base();
    if (!bd.transaction())
        throw falloDe(bd.lastError(), QStringLiteral("No se pudo iniciar la transacción"));
    enTransaccion_ = true;
}

void MotorOdbc::confirmarTransaccion() {
    QSqlDatabase bd = base();
    if (!bd.commit()) {
        const QSqlError e = bd.lastError();
        const QString contexto = QStringLiteral("No se pudo confirmar la transacción");
        // FreeTDS says nothing of its own when the link dropped before the commit: Qt's words
        // alone, no native number. The work is not on the server either way.
        const QString nativo = e.nativeErrorCode().trimmed();
        const ErrorBD falla = falloDe(e, contexto);
        if (falla.tipo() == TipoFalla::ConexionPerdida ||
            ((nativo.isEmpty() || nativo == QLatin1String("0")) &&
             e.driverText().trimmed().isEmpty())) {
            // The commit may have reached the server before the link dropped: whether the
            // work is there only a new look tells.
            perdida_ = true;
            throw ErrorBD(TipoFalla::ConexionPerdida,
                          QStringLiteral("Se perdió la conexión con el servidor de base de datos "
                                         "«%1» al confirmar lo que se guardaba; no se sabe si "
                                         "alcanzó a quedar guardado. Consulte de nuevo antes de "
                                         "repetir la operación.")
                              .arg(servidor_),
                          textoError(e), nativo);
        }
        throw falla;
    }
    enTransaccion_ = false;
}

void MotorOdbc::deshacerTransaccion() {
    // Called from error paths too, where no transaction may have begun: nothing to undo then.
    if (!enTransaccion_) return;
    enTransaccion_ = false;
    // With the link gone the server has already undone the work along with the session.
    if (perdida_) return;
    QSqlDatabase bd = QSqlDatabase::database(nombreConexion_, false);
    if (!bd.rollback())
        throw falloDe(bd.lastError(), QStringLiteral("No se pudo deshacer la transacción"));
}

}  // namespace db
