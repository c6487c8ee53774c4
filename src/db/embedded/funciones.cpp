#include "db/embedded/funciones.h"

#include <sqlite3.h>

#include <QHash>
#include <optional>

#include "db/embedded/apoyo.h"
#include "db/embedded/rechazos.h"
#include "db/error_bd.h"

namespace db::incrustado {

namespace {

QStringView sinBlancosFinales(QStringView s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' ')) --n;
    return s.left(n);
}

// One character to one character, so that positions in a pattern and in a value still match.
// ASCII, nearly every character the lists sort, without the Unicode tables.
char16_t plegarUnidad(char16_t u) {
    if (u < 0x80) return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    return QChar(u).toCaseFolded().unicode();
}
QChar plegar(QChar c) { return QChar(plegarUnidad(c.unicode())); }

// Sorting weight of a folded character: blanks, then punctuation, digits, letters (accented
// ones with their base letter, ñ between n and o), then everything else by code.
int peso(QChar c) {
    const char16_t u = c.unicode();
    if (u == u' ') return 1;
    if (u >= u'0' && u <= u'9') return 200 + (u - u'0');
    if (u >= u'a' && u <= u'z') return 1000 + 2 * (u - u'a');
    if (u < 0x80) return 10 + u;
    if (u == u'ñ') return 1000 + 2 * (u'n' - u'a') + 1;
    if (c.decompositionTag() == QChar::Canonical) {
        const QString d = c.decomposition();
        if (!d.isEmpty()) {
            const char16_t b = QChar(d.at(0)).toCaseFolded().unicode();
            if (b >= u'a' && b <= u'z') return 1000 + 2 * (b - u'a');
        }
    }
    return 100000 + u;
}

// CompararTextos over code units of either width.
template <typename T>
int CompararUnidades(const T* a, qsizetype na, const T* b, qsizetype nb) {
    while (na > 0 && a[na - 1] == T(' ')) --na;
    while (nb > 0 && b[nb - 1] == T(' ')) --nb;
    const qsizetype n = std::min(na, nb);
    // Equal when equal after folding; otherwise ordered by weights, then by folded code.
    int porPeso = 0, porCodigo = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = plegarUnidad(a[i]), y = plegarUnidad(b[i]);
        if (x == y) continue;
        if (porCodigo == 0) porCodigo = x < y ? -1 : 1;
        const int px = peso(QChar(x)), py = peso(QChar(y));
        if (px != py) {
            porPeso = px < py ? -1 : 1;
            break;
        }
    }
    if (porPeso != 0) return porPeso;
    if (na != nb) return na < nb ? -1 : 1;
    return porCodigo;
}

// Registered for UTF-8, the files' encoding: SQLite prefers a collation in the database's
// encoding, so a UTF-16 one would leave the built-in NOCASE in charge.
extern "C" int compararNocase(void*, int n1, const void* p1, int n2, const void* p2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    bool ascii = true;
    for (int i = 0; i < n1 && ascii; ++i) ascii = a[i] < 0x80;
    for (int i = 0; i < n2 && ascii; ++i) ascii = b[i] < 0x80;
    // Plain ASCII is its own UTF-16: compared as it is.
    if (ascii) return CompararUnidades(a, n1, b, n2);
    return CompararTextos(QString::fromUtf8(static_cast<const char*>(p1), n1),
                          QString::fromUtf8(static_cast<const char*>(p2), n2));
}

// --- text helpers over sqlite3_value ---

std::optional<QString> texto(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_NULL) return std::nullopt;
    return TextoSqlite(v);
}

void resultadoTexto(sqlite3_context* ctx, const QString& s) {
    sqlite3_result_text16(ctx, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_TRANSIENT);
}

void resultadoError(sqlite3_context* ctx, const QString& m) {
    sqlite3_result_error16(ctx, m.utf16(), static_cast<int>(m.size() * 2));
}

QString recortar(const QString& s) {
    qsizetype i = 0, f = s.size();
    while (i < f && s[i] == QLatin1Char(' ')) ++i;
    while (f > i && s[f - 1] == QLatin1Char(' ')) --f;
    return s.mid(i, f - i);
}

// A number given as integer, real or digits in a text ('5', ' 5 ', 5.0).
std::optional<qint64> numero(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return sqlite3_value_int64(v);
        case SQLITE_FLOAT:
            return static_cast<qint64>(sqlite3_value_double(v));
        case SQLITE_TEXT: {
            bool ok = false;
            const qint64 n = TextoSqlite(v).trimmed().toLongLong(&ok);
            if (ok) return n;
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

// A date argument: a stored date text, 'yyyymmdd' as text or as the integer it became.
QDateTime fechaDe(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER)
        return LeerFecha(QString::number(sqlite3_value_int64(v)));
    if (sqlite3_value_type(v) == SQLITE_TEXT) return LeerFecha(TextoSqlite(v));
    return {};
}

// --- built-in behaviour replaced ---

extern "C" void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto patron = texto(argv[0]);
    const auto valor = texto(argv[1]);
    if (!patron || !valor) return sqlite3_result_null(ctx);
    QChar escape;
    if (argc == 3) {
        const auto e = texto(argv[2]);
        if (!e || e->size() != 1)
            return resultadoError(ctx, QStringLiteral("El carácter de escape de LIKE debe ser "
                                                      "un solo carácter."));
        escape = e->at(0);
    }
    // A CHAR(n) value carries blanks up to its width; it matches as stored or without them.
    bool si = CoincideLike(*patron, *valor, escape);
    if (!si) {
        const QStringView corto = sinBlancosFinales(*valor);
        if (corto.size() != valor->size()) si = CoincideLike(*patron, corto, escape);
    }
    sqlite3_result_int(ctx, si ? 1 : 0);
}

extern "C" void fnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto s = texto(argv[0]);
    if (!s) return sqlite3_result_null(ctx);
    resultadoTexto(ctx, s->toUpper());
}

extern "C" void fnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto s = texto(argv[0]);
    if (!s) return sqlite3_result_null(ctx);
    resultadoTexto(ctx, s->toLower());
}

// CAST(x AS char(n)): blank-padded or cut to n characters.
extern "C" void fnCastChar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto s = texto(argv[0]);
    if (!s) return sqlite3_result_null(ctx);
    const int n = sqlite3_value_int(argv[1]);
    resultadoTexto(ctx, s->left(n).leftJustified(n, QLatin1Char(' ')));
}

// CAST(x AS varchar(n)): cut to n characters, never padded.
extern "C" void fnCastVarchar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto s = texto(argv[0]);
    if (!s) return sqlite3_result_null(ctx);
    resultadoTexto(ctx, s->left(sqlite3_value_int(argv[1])));
}

// --- what the server raises and SQLite lets pass ---

// The divisor of / and %: zero is the server's error 8134, where SQLite gives NULL.
extern "C" void fnDivisor(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    bool cero = false;
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            cero = sqlite3_value_int64(v) == 0;
            break;
        case SQLITE_FLOAT:
            cero = sqlite3_value_double(v) == 0;
            break;
        case SQLITE_TEXT: {
            bool ok = false;
            const double d = TextoSqlite(v).trimmed().toDouble(&ok);
            cero = (ok && d == 0) || TextoSqlite(v).trimmed().isEmpty();
            break;
        }
        default:
            break;
    }
    if (cero) return resultadoError(ctx, TextoDelServidor(8134));
    sqlite3_result_value(ctx, v);
}

// A text turned into int as the server does: blanks around it ignored, '' is 0, anything that is
// not an integer is its error 245 (SQLite would take the digits it can and make the rest 0).
extern "C" void fnAEntero(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) return sqlite3_result_value(ctx, argv[0]);
    const QString t = TextoSqlite(argv[0]);
    const QString v = recortar(t);
    bool ok = v.isEmpty();
    const qint64 n = ok ? 0 : (v.startsWith(QLatin1Char('+')) ? v.mid(1) : v).toLongLong(&ok);
    if (!ok) return resultadoError(ctx, TextoDelServidor(245, {t}));
    sqlite3_result_int64(ctx, n);
}

// The same into numeric: a decimal number or the server's error 8114.
extern "C" void fnADecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) return sqlite3_result_value(ctx, argv[0]);
    const QString v = recortar(TextoSqlite(argv[0]));
    bool ok = !v.isEmpty();
    for (QChar c : v) ok = ok && (c.isDigit() || QStringLiteral("+-.").contains(c));
    const double d = ok ? v.toDouble(&ok) : 0;
    if (!ok) return resultadoError(ctx, TextoDelServidor(8114));
    sqlite3_result_double(ctx, d);
}

// Given the rows of a subquery that stands for one value: more than one is the server's error
// 512, where SQLite would take the first.
extern "C" void fnUnaFila(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_int64(argv[0]) > 1) return resultadoError(ctx, TextoDelServidor(512));
    sqlite3_result_null(ctx);
}

// --- the schema's scalar functions that need no data ---

extern "C" void fnFecha(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QDateTime f = fechaDe(argv[0]);
    if (!f.isValid())
        return resultadoError(ctx, QStringLiteral("Error de conversión al convertir «%1» en fecha.")
                                       .arg(TextoSqlite(argv[0])));
    const QString tipo = recortar(TextoSqlite(argv[1]));
    QString hora;
    if (tipo.compare(QLatin1String("Inicio"), Qt::CaseInsensitive) == 0)
        hora = QStringLiteral(" 00:00:00.000");
    else if (tipo.compare(QLatin1String("Final"), Qt::CaseInsensitive) == 0)
        hora = QStringLiteral(" 23:59:59.997");  // the server's last instant of a day
    else
        return resultadoError(
            ctx, QStringLiteral("fecha: el segundo argumento debe ser 'Inicio' o 'Final', no «%1».")
                     .arg(tipo));
    resultadoTexto(ctx, f.date().toString(QStringLiteral("yyyy-MM-dd")) + hora);
}

extern "C" void fnFechaCorta(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const QDateTime f = fechaDe(argv[0]);
    if (!f.isValid()) return sqlite3_result_null(ctx);
    resultadoTexto(ctx, f.date().toString(QStringLiteral("dd/MM/yyyy")));
}

extern "C" void fnAlltrim(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto s = texto(argv[0]);
    if (!s) return sqlite3_result_null(ctx);
    resultadoTexto(ctx, recortar(*s));
}

}  // namespace

// --- functions that read the tables ---

struct Funciones::Consultas {
    explicit Consultas(sqlite3* d) : db(d) {}
    sqlite3* db;
    std::unique_ptr<Sentencia> persona, cliente, sucursal, creditos;

    Sentencia& preparar(std::unique_ptr<Sentencia>& s, const char* sql) {
        if (!s) s = std::make_unique<Sentencia>(db, QString::fromUtf8(sql));
        return *s;
    }

    // Staff and branch names already read in this statement (the engine forgets them when
    // the next starts), by key (null: none), while this connection writes nothing: a list
    // names the same few verifiers and branches on thousands of rows.
    using Nombres = QHash<QString, std::optional<QString>>;
    Nombres& vigentes(Nombres& nombres) {
        const qint64 cambios = sqlite3_total_changes64(db);
        if (cambios != cambiosLeidos) {
            olvidar();
            cambiosLeidos = cambios;
        }
        if (nombres.size() >= 4096) nombres.clear();
        return nombres;
    }
    void olvidar() {
        personas.clear();
        sucursales.clear();
    }
    Nombres personas, sucursales;
    qint64 cambiosLeidos = -1;
};

namespace {

using Consultas = Funciones::Consultas;

template <typename F>
void conConsultas(sqlite3_context* ctx, F&& f) {
    auto* c = static_cast<Consultas*>(sqlite3_user_data(ctx));
    try {
        f(*c);
    } catch (const ErrorBD& e) {
        // The statement around the function fails with the engine's own text and, for a lock,
        // its code, so that it is told as the same failure.
        resultadoError(ctx, e.textoMotor().isEmpty() ? e.mensaje() : e.textoMotor());
        if (e.tipo() == db::TipoFalla::Ocupada) sqlite3_result_error_code(ctx, SQLITE_BUSY);
    }
}

Sentencia& consultaCliente(Consultas& c) {
    return c.preparar(c.cliente,
                      "SELECT Nombre_Cliente, domicilio, es_Incobrable FROM main.clientes "
                      "WHERE cliente = ?1");
}

// Reads the customer's row and hands column `col` to `f`; NULL when there is no such customer.
template <typename F>
void conCliente(sqlite3_context* ctx, sqlite3_value* arg, F&& f) {
    const auto n = numero(arg);
    if (!n) return sqlite3_result_null(ctx);
    conConsultas(ctx, [&](Consultas& c) {
        Sentencia& s = consultaCliente(c);
        s.enlazar(1, *n);
        if (s.paso())
            f(s);
        else
            sqlite3_result_null(ctx);
        s.reiniciar();
    });
}

// A name read by its trimmed key with `sql` (?1 the key) and made from the row by `nombre`
// (null: none), read once while the catalogue stays as it is (see Consultas::vigentes).
template <typename F>
void nombrePorClave(sqlite3_context* ctx, sqlite3_value* arg,
                    Consultas::Nombres Consultas::*nombres,
                    std::unique_ptr<Sentencia> Consultas::*sentencia, const char* sql, F&& nombre) {
    const auto clave = texto(arg);
    if (!clave || recortar(*clave).isEmpty()) return sqlite3_result_null(ctx);
    const QString recortada = recortar(*clave);
    conConsultas(ctx, [&](Consultas& c) {
        Consultas::Nombres& vigentes = c.vigentes(c.*nombres);
        auto hallado = vigentes.constFind(recortada);
        if (hallado == vigentes.constEnd()) {
            Sentencia& s = c.preparar(c.*sentencia, sql);
            s.enlazar(1, recortada);
            const std::optional<QString> leido = s.paso() ? nombre(s) : std::nullopt;
            s.reiniciar();
            hallado = vigentes.insert(recortada, leido);
        }
        if (*hallado)
            resultadoTexto(ctx, **hallado);
        else
            sqlite3_result_null(ctx);
    });
}

extern "C" void fnNombrePersona(sqlite3_context* ctx, int, sqlite3_value** argv) {
    // Staff keys are stored right-aligned in 7 characters; callers pass them either way.
    nombrePorClave(
        ctx, argv[0], &Consultas::personas, &Consultas::persona,
        "SELECT apellidos, nombres FROM main.personal WHERE ltrim(rtrim(persona)) = ?1",
        [](Sentencia& s) -> std::optional<QString> {
            return recortar(recortar(s.texto(0)) + QLatin1Char(' ') + recortar(s.texto(1)));
        });
}

extern "C" void fnNombreCliente(sqlite3_context* ctx, int, sqlite3_value** argv) {
    conCliente(ctx, argv[0], [&](Sentencia& s) {
        if (s.nulo(0))
            sqlite3_result_null(ctx);
        else
            resultadoTexto(ctx, recortar(s.texto(0)));
    });
}

extern "C" void fnDomicilioCliente(sqlite3_context* ctx, int, sqlite3_value** argv) {
    conCliente(ctx, argv[0], [&](Sentencia& s) { resultadoTexto(ctx, recortar(s.texto(1))); });
}

extern "C" void fnClienteIncobrable(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto n = numero(argv[0]);
    if (!n) return sqlite3_result_int(ctx, 0);
    conConsultas(ctx, [&](Consultas& c) {
        Sentencia& s = consultaCliente(c);
        s.enlazar(1, *n);
        const bool incobrable = s.paso() && s.entero(2) != 0;
        s.reiniciar();
        sqlite3_result_int(ctx, incobrable ? 1 : 0);
    });
}

extern "C" void fnNombreSucursal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    // The branch key arrives as a number or as the 7-character key of an application; the name
    // as stored: callers trim it where they need to.
    nombrePorClave(ctx, argv[0], &Consultas::sucursales, &Consultas::sucursal,
                   "SELECT nombre_sucursal FROM main.sucursales WHERE ltrim(rtrim(sucursal)) = ?1",
                   [](Sentencia& s) -> std::optional<QString> {
                       if (s.nulo(0)) return std::nullopt;
                       return s.texto(0);
                   });
}

extern "C" void fnClienteCredito(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto n = numero(argv[0]);
    if (!n) return sqlite3_result_int(ctx, 0);
    conConsultas(ctx, [&](Consultas& c) {
        // A credit is an application of the customer that verification authorised.
        Sentencia& s = c.preparar(c.creditos,
                                  "SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo "
                                  "WHERE Cliente = ?1 AND estado_actual = 'Autorizada'");
        s.enlazar(1, *n);
        const qint64 total = s.paso() ? s.entero(0) : 0;
        s.reiniciar();
        sqlite3_result_int64(ctx, total);
    });
}

void registrar(sqlite3* db, const char* nombre, int args,
               void (*f)(sqlite3_context*, int, sqlite3_value**), void* datos, bool determinista) {
    const int banderas = SQLITE_UTF8 | (determinista ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(db, nombre, args, banderas, datos, f, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
        throw UltimaFalla(
            db, QString(),
            QStringLiteral("No se pudo registrar la función %1").arg(QLatin1String(nombre)));
}

}  // namespace

int CompararTextos(QStringView a, QStringView b) {
    return CompararUnidades(a.utf16(), a.size(), b.utf16(), b.size());
}

bool CoincideLike(QStringView p, QStringView s, QChar escape) {
    const bool hayEscape = !escape.isNull();
    qsizetype pi = 0, si = 0, comodinP = -1, comodinS = -1;
    const qsizetype np = p.size(), ns = s.size();

    // Matches the element at p[pi] against c; sets `largo` to the element's length in p.
    auto elemento = [&](qsizetype i, QChar c, qsizetype& largo) -> bool {
        const QChar x = p[i];
        if (hayEscape && x == escape && i + 1 < np) {
            largo = 2;
            return plegar(p[i + 1]) == plegar(c);
        }
        if (x == QLatin1Char('_')) {
            largo = 1;
            return true;
        }
        if (x == QLatin1Char('[')) {
            qsizetype j = i + 1;
            bool niega = false;
            if (j < np && p[j] == QLatin1Char('^')) {
                niega = true;
                ++j;
            }
            const qsizetype inicio = j;
            while (j < np && (p[j] != QLatin1Char(']') || j == inicio)) ++j;
            if (j < np) {
                largo = j - i + 1;
                const QChar fc = plegar(c);
                bool dentro = false;
                for (qsizetype k = inicio; k < j; ++k) {
                    const QChar d = plegar(p[k]);
                    if (k + 2 < j && p[k + 1] == QLatin1Char('-')) {
                        const QChar h = plegar(p[k + 2]);
                        if (fc.unicode() >= d.unicode() && fc.unicode() <= h.unicode())
                            dentro = true;
                        k += 2;
                    } else if (d == fc) {
                        dentro = true;
                    }
                }
                return dentro != niega;
            }
            // An unclosed bracket stands for itself.
        }
        largo = 1;
        return plegar(x) == plegar(c);
    };

    while (si < ns) {
        if (pi < np && p[pi] == QLatin1Char('%')) {
            while (pi < np && p[pi] == QLatin1Char('%')) ++pi;
            comodinP = pi;
            comodinS = si;
            continue;
        }
        qsizetype largo = 1;
        if (pi < np && elemento(pi, s[si], largo)) {
            pi += largo;
            ++si;
            continue;
        }
        if (comodinP < 0) return false;
        si = ++comodinS;
        pi = comodinP;
    }
    while (pi < np && p[pi] == QLatin1Char('%')) ++pi;
    return pi == np;
}

Funciones::Funciones(sqlite3* db) : consultas_(std::make_unique<Consultas>(db)) {
    if (sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compararNocase, nullptr) !=
        SQLITE_OK)
        throw UltimaFalla(db, QString(),
                          QStringLiteral("No se pudo registrar la comparación de textos"));
    void* c = consultas_.get();
    registrar(db, "like", 2, fnLike, nullptr, true);
    registrar(db, "like", 3, fnLike, nullptr, true);
    registrar(db, "upper", 1, fnUpper, nullptr, true);
    registrar(db, "lower", 1, fnLower, nullptr, true);
    registrar(db, "cast_char", 2, fnCastChar, nullptr, true);
    registrar(db, "cast_varchar", 2, fnCastVarchar, nullptr, true);
    registrar(db, "divisor", 1, fnDivisor, nullptr, true);
    registrar(db, "a_entero", 1, fnAEntero, nullptr, true);
    registrar(db, "a_decimal", 1, fnADecimal, nullptr, true);
    registrar(db, "una_fila", 1, fnUnaFila, nullptr, true);
    registrar(db, "fecha", 2, fnFecha, nullptr, true);
    registrar(db, "fecha_corta", 1, fnFechaCorta, nullptr, true);
    registrar(db, "alltrim", 1, fnAlltrim, nullptr, true);
    // These read the tables: never deterministic, so SQLite calls them for every row.
    registrar(db, "nombre_persona", 1, fnNombrePersona, c, false);
    registrar(db, "nombre_cliente", 1, fnNombreCliente, c, false);
    registrar(db, "nombre_sucursal", 1, fnNombreSucursal, c, false);
    registrar(db, "domicilio_cliente", 1, fnDomicilioCliente, c, false);
    registrar(db, "cliente_credito", 1, fnClienteCredito, c, false);
    registrar(db, "cliente_incobrable", 1, fnClienteIncobrable, c, false);
}

Funciones::~Funciones() = default;

void Funciones::olvidarNombres() { consultas_->olvidar(); }

}  // namespace db::incrustado
