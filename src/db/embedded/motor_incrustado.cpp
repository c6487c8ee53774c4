#include "db/embedded/motor_incrustado.h"

#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "db/embedded/apertura.h"
#include "db/embedded/apoyo.h"
#include "db/embedded/espera.h"
#include "db/embedded/esquema.h"
#include "db/embedded/funciones.h"
#include "db/embedded/procedimientos.h"
#include "db/embedded/resultado_incrustado.h"
#include "db/embedded/traductor.h"
#include "db/error_bd.h"
#include "db/fallas.h"

namespace db {

using namespace incrustado;

namespace {

// How a result column is handed to the program, from its declared type.
enum class Categoria { Libre, Texto, Entero, Real, Fecha, Bit };

Categoria categoriaDeclarada(const char* declarado, TipoResultado tipoFuncion) {
    if (!declarado) {
        switch (tipoFuncion) {
            case TipoResultado::Texto:
                return Categoria::Texto;
            case TipoResultado::Entero:
                return Categoria::Entero;
            case TipoResultado::Fecha:
                return Categoria::Fecha;
            case TipoResultado::Bit:
                return Categoria::Bit;
            case TipoResultado::Ninguno:
                return Categoria::Libre;
        }
        return Categoria::Libre;
    }
    const QByteArray d = QByteArray(declarado).toUpper();
    if (d.contains("DATE") || d.contains("TIME")) return Categoria::Fecha;
    if (d == "BIT") return Categoria::Bit;
    if (d.contains("INT")) return Categoria::Entero;
    if (d.contains("CHAR") || d.contains("CLOB") || d.contains("TEXT")) return Categoria::Texto;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB") || d.contains("DEC") ||
        d.contains("NUM") || d.contains("MONEY"))
        return Categoria::Real;
    return Categoria::Libre;
}

QVariant leer(sqlite3_stmt* st, int c, Categoria cat, int tipo) {
    if (tipo == SQLITE_NULL) return {};
    // The two kinds that fill most cells, read without going through a value object.
    if (tipo == SQLITE_INTEGER && (cat == Categoria::Entero || cat == Categoria::Libre))
        return QVariant(static_cast<qint64>(sqlite3_column_int64(st, c)));
    if (tipo == SQLITE_TEXT && (cat == Categoria::Texto || cat == Categoria::Libre)) {
        const auto* u = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
        return QVariant(QString::fromUtf8(u, sqlite3_column_bytes(st, c)));
    }
    sqlite3_value* v = sqlite3_column_value(st, c);
    switch (cat) {
        case Categoria::Fecha: {
            // The stored form, read from the bytes without a QString first.
            qint64 cruda = 0;
            if (tipo == SQLITE_TEXT &&
                LeerFechaCruda(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                               sqlite3_value_bytes(v), cruda))
                return QVariant(FechaDeCruda(cruda));
            const QString t =
                tipo == SQLITE_INTEGER ? QString::number(sqlite3_value_int64(v)) : TextoSqlite(v);
            const QDateTime f = LeerFecha(t);
            return f.isValid() ? QVariant(f) : ValorSqlite(v);
        }
        case Categoria::Bit:
            if (tipo == SQLITE_TEXT) {
                const QString t = TextoSqlite(v).trimmed();
                return QVariant(t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                (t.toLongLong() != 0));
            }
            return QVariant(sqlite3_value_double(v) != 0);
        case Categoria::Entero:
            if (tipo == SQLITE_INTEGER)
                return QVariant(static_cast<qint64>(sqlite3_value_int64(v)));
            return ValorSqlite(v);
        case Categoria::Real:
            if (tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT)
                return QVariant(sqlite3_value_double(v));
            return ValorSqlite(v);
        case Categoria::Texto:
            return QVariant(TextoSqlite(v));
        case Categoria::Libre:
            return ValorSqlite(v);
    }
    return {};
}

// What outlives the engine for the results still held, its wait for other stations' locks and
// its notice of long work.
struct Estado {
    bool vivo = true;  // false once the engine is gone: a result held elsewhere must not step
    EsperaBloqueo espera;
    AvisoTrabajo trabajo;
    int intervaloMs = 30;
    QElapsedTimer reloj;  // since the step began or the notice was last told
    bool avisando = false;

    void empezarPaso() {
        if (trabajo) reloj.start();
    }
    // Tells the notice unless it is being told already; true when it asks to stop.
    bool avisar() {
        if (!trabajo || avisando) return false;
        avisando = true;
        bool parar = false;
        try {
            parar = trabajo();
        } catch (...) {
            // Nothing may leave into SQLite.
        }
        avisando = false;
        reloj.start();
        return parar;
    }
};

// SQLite calls this every thousand instructions of a statement; non-zero interrupts it.
extern "C" int progreso(void* datos) {
    auto* e = static_cast<Estado*>(datos);
    if (!e->trabajo || !e->reloj.isValid() || e->reloj.elapsed() < e->intervaloMs) return 0;
    return e->avisar() ? 1 : 0;
}

ErrorBD Ocupada() {
    return ErrorBD(
        QStringLiteral("La base de datos está ocupada con otra consulta de este "
                       "programa; intente de nuevo cuando termine."));
}

}  // namespace

struct MotorIncrustado::Preparada {
    Traduccion traduccion;
    sqlite3_stmt* st = nullptr;
    QStringList nombres;
    QVector<Categoria> categorias;
    bool enUso = false;  // a cursor is reading it
    ~Preparada() { sqlite3_finalize(st); }
};

struct MotorIncrustado::Interno {
    QString carpeta;
    bool creada = false;
    std::unique_ptr<Funciones> funciones;
    QHash<QString, std::shared_ptr<Preparada>> cache;
    long long traducciones = 0;
    std::optional<qint64> ultimaIdentidad;  // what REGRESA_FOLIO answers
    std::shared_ptr<Estado> estado = std::make_shared<Estado>();
};

// Statements kept prepared at most; the program builds texts with values inside, so an
// endless run would otherwise keep every one of them.
constexpr int kMaximoCache = 512;

namespace {

// A SELECT read row by row as the program moves forward, each cell converted only when asked
// for: a large list costs no copy of itself, and the statement is free again at its end.
class Cursor final : public Resultado {
  public:
    using Preparada = MotorIncrustado::Preparada;

    // Fetches the first row at once, so that a statement that fails does so when it is opened.
    Cursor(std::shared_ptr<Preparada> p, std::shared_ptr<Estado> estado)
        : p_(std::move(p)), estado_(std::move(estado)), memoria_(p_->nombres.size()) {
        p_->enUso = true;
        primera_ = paso();
    }
    ~Cursor() override { liberar(); }

    int columnas() const override { return static_cast<int>(p_->nombres.size()); }
    QString nombreColumna(int i) const override { return p_->nombres.value(i); }

    bool siguiente() override {
        if (antesDeLaPrimera_) {
            antesDeLaPrimera_ = false;
            return primera_;
        }
        if (terminado_) return false;
        if (!estado_->vivo) {
            terminado_ = true;
            throw ErrorBD(QStringLiteral("La conexión a la base de datos está cerrada."));
        }
        if (estado_->avisando) throw Ocupada();
        return paso();
    }

    QVariant valor(int i) const override {
        if (terminado_ || antesDeLaPrimera_ || i < 0 || i >= columnas()) return {};
        const Categoria cat = p_->categorias[i];
        const int tipo = sqlite3_column_type(p_->st, i);
        if (tipo != SQLITE_TEXT) return leer(p_->st, i, cat, tipo);
        // Texts and dates repeat down a list (the same branch, state, day); converting one
        // costs an allocation, a date also a time zone look-up, so each column keeps its last
        // few. A field read again in the same row (the windows do) is the value just made.
        Memoria& m = memoria_[i];
        if (m.fila == fila_) return m.recientes[m.ultima].valor;
        const auto* u = reinterpret_cast<const char*>(sqlite3_column_text(p_->st, i));
        const auto n = static_cast<std::size_t>(sqlite3_column_bytes(p_->st, i));
        m.fila = fila_;
        for (int k = 0; k < Memoria::Cuantos; ++k) {
            const Reciente& r = m.recientes[k];
            if (r.valida && r.crudo.size() == n && std::memcmp(r.crudo.data(), u, n) == 0) {
                m.ultima = k;
                return r.valor;
            }
        }
        m.ultima = m.siguiente;
        m.siguiente = (m.siguiente + 1) % Memoria::Cuantos;
        Reciente& r = m.recientes[m.ultima];
        r.crudo.assign(u, n);
        r.valor = cat == Categoria::Texto || cat == Categoria::Libre
                      ? QVariant(QString::fromUtf8(u, qsizetype(n)))
                      : leer(p_->st, i, cat, tipo);
        r.valida = true;
        return r.valor;
    }

    void valorCrudo(int i, ValorCrudo& v) const override {
        using T = ValorCrudo::Tipo;
        v.utf8 = nullptr;
        if (terminado_ || antesDeLaPrimera_ || i < 0 || i >= columnas()) {
            v.tipo = T::Nulo;
            return;
        }
        sqlite3_stmt* st = p_->st;
        const Categoria cat = p_->categorias[i];
        const int tipo = sqlite3_column_type(st, i);
        // The kinds that fill most cells, as valor() reads them; the rest through valor().
        switch (tipo) {
            case SQLITE_NULL:
                v.tipo = T::Nulo;
                return;
            case SQLITE_INTEGER:
                if (cat == Categoria::Entero || cat == Categoria::Libre) {
                    v.tipo = T::Entero;
                    v.entero = sqlite3_column_int64(st, i);
                    return;
                }
                if (cat == Categoria::Bit) {
                    v.tipo = T::Bit;
                    v.entero = sqlite3_column_int64(st, i) != 0;
                    return;
                }
                if (cat == Categoria::Real) {
                    v.tipo = T::Real;
                    v.real = sqlite3_column_double(st, i);
                    return;
                }
                break;
            case SQLITE_FLOAT:
                if (cat == Categoria::Real || cat == Categoria::Libre || cat == Categoria::Entero) {
                    v.tipo = T::Real;
                    v.real = sqlite3_column_double(st, i);
                    return;
                }
                break;
            case SQLITE_TEXT: {
                if (cat == Categoria::Bit) break;
                const auto* u = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                const qsizetype n = sqlite3_column_bytes(st, i);
                if (cat == Categoria::Fecha) {
                    if (!LeerFechaCruda(u, n, v.entero)) break;
                    v.tipo = T::Fecha;
                    return;
                }
                v.tipo = T::Texto;
                v.utf8 = u;
                v.bytes = n;
                return;
            }
            default:
                break;
        }
        CrudoDeVariante(valor(i), v);
    }

    void filaCruda(ValorCrudo* valores) const override {
        const int n = columnas();
        for (int i = 0; i < n; ++i) valorCrudo(i, valores[i]);
    }

  private:
    struct Reciente {
        bool valida = false;
        std::string crudo;
        QVariant valor;
    };
    struct Memoria {
        static constexpr int Cuantos = 4;
        std::array<Reciente, Cuantos> recientes;
        int ultima = 0, siguiente = 0;
        long long fila = -1;  // the row recientes[ultima] was read for
    };

    bool paso() {
        FinDeEspera fin(estado_->espera);
        estado_->empezarPaso();
        const int rc = sqlite3_step(p_->st);
        ++fila_;
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) {
            liberar();
            return false;
        }
        const ErrorBD e = UltimaFalla(sqlite3_db_handle(p_->st));
        liberar();
        throw e;
    }

    void liberar() {
        if (terminado_) return;
        terminado_ = true;
        if (estado_->vivo) sqlite3_reset(p_->st);
        p_->enUso = false;
    }

    std::shared_ptr<Preparada> p_;
    std::shared_ptr<Estado> estado_;
    mutable QVector<Memoria> memoria_;
    bool terminado_ = false;
    long long fila_ = 0;
    bool antesDeLaPrimera_ = true;
    bool primera_ = false;
};

}  // namespace

MotorIncrustado::MotorIncrustado(const QString& carpeta, AvisoEspera aviso)
    : d_(std::make_unique<Interno>()) {
    d_->carpeta = carpeta;
    d_->estado->espera.aviso = std::move(aviso);
    try {
        FinDeEspera fin(d_->estado->espera);
        abrir();
    } catch (...) {
        d_->cache.clear();
        d_->funciones.reset();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

MotorIncrustado::~MotorIncrustado() {
    d_->estado->vivo = false;
    d_->cache.clear();
    d_->funciones.reset();
    sqlite3_close_v2(db_);
}

bool MotorIncrustado::creadaVacia() const { return d_->creada; }

const QString& MotorIncrustado::carpeta() const { return d_->carpeta; }

long long MotorIncrustado::traducciones() const { return d_->traducciones; }

void MotorIncrustado::avisarEspera(AvisoEspera aviso) {
    d_->estado->espera.aviso = std::move(aviso);
}

void MotorIncrustado::limiteEspera(int milisegundos) { d_->estado->espera.limiteMs = milisegundos; }

void MotorIncrustado::avisarTrabajo(AvisoTrabajo aviso) {
    d_->estado->trabajo = std::move(aviso);
    if (d_->estado->trabajo)
        sqlite3_progress_handler(db_, 1000, progreso, d_->estado.get());
    else
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
}

void MotorIncrustado::intervaloTrabajo(int milisegundos) { d_->estado->intervaloMs = milisegundos; }

void MotorIncrustado::empezarTrabajo() const {
    if (d_->estado->avisando) throw Ocupada();
    d_->estado->empezarPaso();
    // Names remembered by the functions hold for one statement: the next may see another
    // station's changes, or this one's undone.
    if (d_->funciones) d_->funciones->olvidarNombres();
}

void MotorIncrustado::exec(const QString& sql, const QString& contexto) {
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw UltimaFalla(db_, QString(), contexto);
}

void MotorIncrustado::abrir() {
    const QString& carpeta = d_->carpeta;
    const bool nueva = CarpetaNueva(carpeta, archivoErp(), archivoNorv());
    d_->creada = nueva;
    const QString erp = QDir(carpeta).filePath(archivoErp());
    const QString norv = QDir(carpeta).filePath(archivoNorv());

    // One thread uses the connection (the program's): no mutex around every call. Files that
    // exist are opened as they are: one gone meanwhile must be an error, not a new empty file.
    const int banderas =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (nueva ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(QFile::encodeName(erp).constData(), &db_, banderas, nullptr) != SQLITE_OK) {
        if (!db_)
            throw ErrorBD(TipoFalla::Otra,
                          QStringLiteral("No hay memoria para abrir la base de datos; cierre "
                                         "otros programas e intente de nuevo."),
                          QStringLiteral("out of memory"));
        throw UltimaFalla(db_, erp);
    }
    InstalarEspera(db_, &d_->estado->espera);
    d_->estado->espera.mientras = [e = d_->estado.get()] { return e->avisar(); };
    // Double quotes name; a misspelt "name" must be an error, not a text.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);

    ProbarArchivo(db_, QStringLiteral("main"), erp);
    try {
        Sentencia adjuntar(db_, QStringLiteral("ATTACH DATABASE ?1 AS norv"));
        adjuntar.enlazar(1, norv);
        adjuntar.ejecutar();
    } catch (const ErrorBD&) {
        throw UltimaFalla(db_, norv);
    }
    ProbarArchivo(db_, QStringLiteral("norv"), norv);
    if (!nueva) {
        RevisarTablas(db_, QStringLiteral("main"), erp);
        RevisarTablas(db_, QStringLiteral("norv"), norv);
    }

    d_->funciones = std::make_unique<Funciones>(db_);
    exec(QStringLiteral("PRAGMA main.synchronous = NORMAL; PRAGMA norv.synchronous = NORMAL"));
    // An automatic index comes with a Bloom filter that hashes texts by their length, so a
    // join of '1      ' with '1' would find nothing although the collation says equal.
    exec(QStringLiteral("PRAGMA automatic_index = OFF"));
    // The tables only in new files; triggers and indexes also in existing ones, since they add
    // rules and speed and hide nothing.
    const QString contexto = QStringLiteral("No se pudo crear el esquema en «%1»")
                                 .arg(QDir::toNativeSeparators(carpeta));
    try {
        exec(QStringLiteral("BEGIN"), contexto);
        for (const QString& s : nueva ? SentenciasEsquema() : SentenciasComplementos())
            exec(s, contexto);
        if (!nueva) rehacerIndices(contexto);
        exec(QStringLiteral("COMMIT"), contexto);
    } catch (const ErrorBD&) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void MotorIncrustado::rehacerIndices(const QString& contexto) {
    for (const char* base : {"main", "norv"}) {
        QStringList tablas;
        {
            Sentencia s(db_, QStringLiteral("SELECT tabla FROM %1.%2")
                                 .arg(QLatin1String(base), kIndicesPorRehacer));
            while (s.paso()) tablas << s.texto(0);
        }
        for (const QString& t : tablas) {
            // Only tables of ours: the name goes into the statement.
            if (!BuscarTabla(t)) continue;
            exec(QStringLiteral("REINDEX %1.%2").arg(QLatin1String(base), BuscarTabla(t)->nombre),
                 contexto);
        }
        if (!tablas.isEmpty())
            exec(QStringLiteral("DELETE FROM %1.%2").arg(QLatin1String(base), kIndicesPorRehacer),
                 contexto);
    }
}

std::shared_ptr<MotorIncrustado::Preparada> MotorIncrustado::preparar(const QString& sql) {
    const auto hallada = d_->cache.constFind(sql);
    if (hallada != d_->cache.constEnd() && !(*hallada)->enUso) return *hallada;

    auto p = std::make_shared<Preparada>();
    const bool ocupada = hallada != d_->cache.constEnd();
    if (ocupada) {
        // The same text is still being read: a second statement, the translation reused.
        p->traduccion = (*hallada)->traduccion;
    } else {
        p->traduccion = Traducir(sql);
        ++d_->traducciones;
    }
    const QByteArray u = p->traduccion.sql.toUtf8();
    if (sqlite3_prepare_v2(db_, u.constData(), static_cast<int>(u.size()), &p->st, nullptr) !=
        SQLITE_OK) {
        const QString texto = MensajeSqlite(db_);
        // The translation names only the schema's tables and columns, which the files had when
        // opened: missing now, a file was emptied, replaced or damaged under the program.
        if (texto.startsWith(QLatin1String("no such table")) ||
            texto.startsWith(QLatin1String("no such column")))
            throw ErrorBD(TipoFalla::ArchivoDanado,
                          QStringLiteral("Un archivo de la base de datos en «%1» se vació, se "
                                         "cambió o se dañó mientras el programa trabajaba. "
                                         "Restáurelo del respaldo o avise a soporte.")
                              .arg(QDir::toNativeSeparators(carpeta())),
                          texto);
        throw UltimaFalla(db_);
    }
    const int n = sqlite3_column_count(p->st);
    for (int c = 0; c < n; ++c) {
        p->nombres << QString::fromUtf8(sqlite3_column_name(p->st, c));
        const TipoResultado tf =
            c < p->traduccion.tipos.size() ? p->traduccion.tipos[c] : TipoResultado::Ninguno;
        p->categorias << categoriaDeclarada(sqlite3_column_decltype(p->st, c), tf);
    }
    if (ocupada) return p;
    if (d_->cache.size() >= kMaximoCache) {
        // Statements a cursor is still reading stay with their cursor.
        d_->cache.clear();
    }
    d_->cache.insert(sql, p);
    return p;
}

std::unique_ptr<Resultado> MotorIncrustado::correr(const QString& sql, long long* cambios) {
    empezarTrabajo();
    FinDeEspera fin(d_->estado->espera);
    const std::shared_ptr<Preparada> p = preparar(sql);
    sqlite3_stmt* st = p->st;
    if (p->traduccion.clase == ClaseSentencia::Select && !cambios)
        return std::make_unique<Cursor>(p, d_->estado);

    // A statement that changes rows runs whole here; so does a SELECT sent to ejecutar().
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const ErrorBD e = UltimaFalla(db_);
        sqlite3_reset(st);
        throw e;
    }
    const long long hechos =
        p->traduccion.clase == ClaseSentencia::Select ? 0 : sqlite3_changes64(db_);
    if (p->traduccion.conIdentidad && hechos > 0)
        d_->ultimaIdentidad = sqlite3_last_insert_rowid(db_);
    sqlite3_reset(st);
    if (cambios) *cambios = hechos;
    return std::make_unique<ResultadoIncrustado>(p->nombres, std::vector<QVector<QVariant>>());
}

std::unique_ptr<Resultado> MotorIncrustado::consultar(const QString& sql) {
    return correr(sql, nullptr);
}

long long MotorIncrustado::ejecutar(const QString& sql) {
    long long cambios = 0;
    correr(sql, &cambios);
    return cambios;
}

std::unique_ptr<Resultado> MotorIncrustado::llamar(const QString& procedimiento,
                                                   QList<Parametro>& parametros) {
    empezarTrabajo();
    FinDeEspera fin(d_->estado->espera);
    return LlamarProcedimiento(db_, d_->ultimaIdentidad, procedimiento, parametros);
}

void MotorIncrustado::iniciarTransaccion() {
    empezarTrabajo();
    FinDeEspera fin(d_->estado->espera);
    // The write lock is taken at once: two stations saving at the same moment wait for each
    // other here, never half-way through, where one would have to give up its work.
    exec(QStringLiteral("BEGIN IMMEDIATE"), QStringLiteral("No se pudo iniciar la transacción"));
}

void MotorIncrustado::confirmarTransaccion() {
    empezarTrabajo();
    FinDeEspera fin(d_->estado->espera);
    exec(QStringLiteral("COMMIT"), QStringLiteral("No se pudo confirmar la transacción"));
}

void MotorIncrustado::deshacerTransaccion() {
    // Also called on the way out of a failure, when there may be nothing left to undo.
    if (sqlite3_get_autocommit(db_)) return;
    empezarTrabajo();
    FinDeEspera fin(d_->estado->espera);
    exec(QStringLiteral("ROLLBACK"), QStringLiteral("No se pudo deshacer la transacción"));
}

}  // namespace db
