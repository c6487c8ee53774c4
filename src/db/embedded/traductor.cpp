#include "db/embedded/traductor.h"

#include <sqlite3.h>

#include <QHash>
#include <QSet>
#include <QStringList>
#include <map>
#include <vector>

#include "db/embedded/apoyo.h"
#include "db/embedded/esquema.h"
#include "db/error_bd.h"

namespace db::incrustado {

namespace {

[[noreturn]] void rechazar(const QString& motivo) {
    throw ErrorBD(
        QStringLiteral("El motor incrustado no admite esta forma de sentencia: %1.").arg(motivo));
}

// ---------------------------------------------------------------------------------------------
// Tokens

struct Token {
    enum Tipo { Palabra, Corchete, Cadena, Numero, Simbolo } tipo;
    QString texto;  // a bracketed name or a string without its quotes and with escapes undone
};

bool esSimbolo(const Token& t, const char* s) {
    return t.tipo == Token::Simbolo && t.texto == QLatin1String(s);
}

bool esPalabra(const Token& t, const char* p) {
    return t.tipo == Token::Palabra && t.texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
}

bool caracterDeNombre(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') ||
           c == QLatin1Char('#') || c == QLatin1Char('@');
}

std::vector<Token> tokenizar(const QString& s) {
    std::vector<Token> r;
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto en = [&](qsizetype k) { return k < n ? s[k] : QChar(); };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('-') && en(i + 1) == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n')) ++i;
        } else if (c == QLatin1Char('/') && en(i + 1) == QLatin1Char('*')) {
            // T-SQL comments nest.
            int nivel = 0;
            do {
                if (s[i] == QLatin1Char('/') && en(i + 1) == QLatin1Char('*')) {
                    ++nivel;
                    i += 2;
                } else if (s[i] == QLatin1Char('*') && en(i + 1) == QLatin1Char('/')) {
                    --nivel;
                    i += 2;
                } else {
                    ++i;
                }
            } while (nivel > 0 && i < n);
            if (nivel > 0) rechazar(QStringLiteral("un comentario /* sin cerrar"));
        } else if (c == QLatin1Char('\'') ||
                   ((c == QLatin1Char('N') || c == QLatin1Char('n')) &&
                    en(i + 1) == QLatin1Char('\'') && (i == 0 || !caracterDeNombre(s[i - 1])))) {
            if (c != QLatin1Char('\'')) ++i;  // N'...' is the same text here
            QString t;
            ++i;
            for (;;) {
                if (i >= n) rechazar(QStringLiteral("una cadena sin comilla de cierre"));
                if (s[i] == QLatin1Char('\'')) {
                    if (en(i + 1) == QLatin1Char('\'')) {
                        t += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t += s[i++];
            }
            r.push_back({Token::Cadena, t});
        } else if (c == QLatin1Char('"')) {
            rechazar(
                QStringLiteral("comillas dobles (en SQL Server nombran, en SQLite pueden ser "
                               "texto); use comillas simples o corchetes"));
        } else if (c == QLatin1Char('[')) {
            QString t;
            ++i;
            for (;;) {
                if (i >= n) rechazar(QStringLiteral("un nombre entre corchetes sin cerrar"));
                if (s[i] == QLatin1Char(']')) {
                    if (en(i + 1) == QLatin1Char(']')) {
                        t += QLatin1Char(']');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t += s[i++];
            }
            r.push_back({Token::Corchete, t});
        } else if (c.isDigit() || (c == QLatin1Char('.') && en(i + 1).isDigit())) {
            const qsizetype inicio = i;
            while (i < n && s[i].isDigit()) ++i;
            if (en(i) == QLatin1Char('.')) {
                ++i;
                while (i < n && s[i].isDigit()) ++i;
            }
            if ((en(i) == QLatin1Char('e') || en(i) == QLatin1Char('E')) &&
                (en(i + 1).isDigit() ||
                 ((en(i + 1) == QLatin1Char('+') || en(i + 1) == QLatin1Char('-')) &&
                  en(i + 2).isDigit()))) {
                i += 2;
                while (i < n && s[i].isDigit()) ++i;
            }
            if (i < n && caracterDeNombre(s[i]))
                rechazar(QStringLiteral("el número «%1»").arg(s.mid(inicio, i - inicio + 1)));
            r.push_back({Token::Numero, s.mid(inicio, i - inicio)});
        } else if (c == QLatin1Char('@')) {
            rechazar(QStringLiteral("variables de T-SQL («@…», «@@…»)"));
        } else if (c == QLatin1Char('#')) {
            rechazar(QStringLiteral("tablas temporales («#…»)"));
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype inicio = i;
            while (i < n && caracterDeNombre(s[i])) ++i;
            r.push_back({Token::Palabra, s.mid(inicio, i - inicio)});
        } else {
            static const char* const kDobles[] = {
                "<>", "!=", "<=", ">=", "!<", "!>", "||", "==", "<<", ">>",
                "::", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
            bool hecho = false;
            for (const char* d : kDobles) {
                if (c == QLatin1Char(d[0]) && en(i + 1) == QLatin1Char(d[1])) {
                    r.push_back({Token::Simbolo, QLatin1String(d)});
                    i += 2;
                    hecho = true;
                    break;
                }
            }
            if (hecho) continue;
            if (QStringLiteral("(),.;=<>+-*/%&|^~").contains(c)) {
                r.push_back({Token::Simbolo, QString(c)});
                ++i;
                continue;
            }
            rechazar(QStringLiteral("el carácter «%1»").arg(c));
        }
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
// Words

// The words the translator knows as keywords; each means the same in both dialects.
const QSet<QString>& clavesAdmitidas() {
    static const QSet<QString> k = {
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("ALL"),
        QStringLiteral("FROM"),   QStringLiteral("WHERE"),    QStringLiteral("AND"),
        QStringLiteral("OR"),     QStringLiteral("NOT"),      QStringLiteral("IS"),
        QStringLiteral("NULL"),   QStringLiteral("LIKE"),     QStringLiteral("ESCAPE"),
        QStringLiteral("IN"),     QStringLiteral("BETWEEN"),  QStringLiteral("EXISTS"),
        QStringLiteral("JOIN"),   QStringLiteral("INNER"),    QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),  QStringLiteral("FULL"),     QStringLiteral("OUTER"),
        QStringLiteral("CROSS"),  QStringLiteral("ON"),       QStringLiteral("AS"),
        QStringLiteral("ORDER"),  QStringLiteral("GROUP"),    QStringLiteral("BY"),
        QStringLiteral("ASC"),    QStringLiteral("DESC"),     QStringLiteral("HAVING"),
        QStringLiteral("INSERT"), QStringLiteral("INTO"),     QStringLiteral("VALUES"),
        QStringLiteral("UPDATE"), QStringLiteral("SET"),      QStringLiteral("DELETE"),
        QStringLiteral("CASE"),   QStringLiteral("WHEN"),     QStringLiteral("THEN"),
        QStringLiteral("ELSE"),   QStringLiteral("END"),      QStringLiteral("CAST"),
        QStringLiteral("UNION")};
    return k;
}

// T-SQL words that SQLite does not know as keywords and would take for names, running
// something else than the server would.
const QSet<QString>& reservadasTSql() {
    static const QSet<QString> r = {
        QStringLiteral("TOP"),         QStringLiteral("PERCENT"),     QStringLiteral("OUTPUT"),
        QStringLiteral("NOLOCK"),      QStringLiteral("HOLDLOCK"),    QStringLiteral("PIVOT"),
        QStringLiteral("UNPIVOT"),     QStringLiteral("APPLY"),       QStringLiteral("MERGE"),
        QStringLiteral("EXEC"),        QStringLiteral("EXECUTE"),     QStringLiteral("DECLARE"),
        QStringLiteral("PRINT"),       QStringLiteral("GO"),          QStringLiteral("USE"),
        QStringLiteral("TRAN"),        QStringLiteral("TRUNCATE"),    QStringLiteral("WHILE"),
        QStringLiteral("RETURN"),      QStringLiteral("GRANT"),       QStringLiteral("REVOKE"),
        QStringLiteral("DENY"),        QStringLiteral("OPENQUERY"),   QStringLiteral("OPENROWSET"),
        QStringLiteral("OPENXML"),     QStringLiteral("CONTAINS"),    QStringLiteral("FREETEXT"),
        QStringLiteral("IDENTITY"),    QStringLiteral("IDENTITYCOL"), QStringLiteral("ROWCOUNT"),
        QStringLiteral("NOCOUNT"),     QStringLiteral("DBCC"),        QStringLiteral("BACKUP"),
        QStringLiteral("RESTORE"),     QStringLiteral("KILL"),        QStringLiteral("WAITFOR"),
        QStringLiteral("RAISERROR"),   QStringLiteral("THROW"),       QStringLiteral("TRY"),
        QStringLiteral("CATCH"),       QStringLiteral("FETCH"),       QStringLiteral("CURSOR"),
        QStringLiteral("OPEN"),        QStringLiteral("CLOSE"),       QStringLiteral("DEALLOCATE"),
        QStringLiteral("TABLESAMPLE"), QStringLiteral("COMPUTE"),     QStringLiteral("BROWSE"),
        QStringLiteral("ROWID"),       QStringLiteral("OID"),         QStringLiteral("_ROWID_")};
    return r;
}

bool esClaveSqlite(const QString& palabra) {
    const QByteArray u = palabra.toUtf8();
    return sqlite3_keyword_check(u.constData(), static_cast<int>(u.size())) != 0;
}

// Scalar functions: the schema's own (called with their owner, in their database) and the
// server built-ins the statements use.
struct Funcion {
    QString destino;  // name in SQLite
    QString base;     // "main" or "norv" for the schema's functions; empty for built-ins
    TipoResultado tipo;
};

const QHash<QString, Funcion>& funciones() {
    using T = TipoResultado;
    static const QHash<QString, Funcion> f = {
        {QStringLiteral("nombre_persona"), {QStringLiteral("nombre_persona"), "main", T::Texto}},
        {QStringLiteral("nombre_cliente"), {QStringLiteral("nombre_cliente"), "main", T::Texto}},
        {QStringLiteral("nombre_sucursal"), {QStringLiteral("nombre_sucursal"), "main", T::Texto}},
        {QStringLiteral("domicilio_cliente"),
         {QStringLiteral("domicilio_cliente"), "main", T::Texto}},
        {QStringLiteral("fecha"), {QStringLiteral("fecha"), "main", T::Fecha}},
        {QStringLiteral("fecha_corta"), {QStringLiteral("fecha_corta"), "main", T::Texto}},
        {QStringLiteral("alltrim"), {QStringLiteral("alltrim"), "main", T::Texto}},
        {QStringLiteral("cliente_credito"), {QStringLiteral("cliente_credito"), "norv", T::Entero}},
        {QStringLiteral("cliente_incobrable"),
         {QStringLiteral("cliente_incobrable"), "norv", T::Bit}},
        {QStringLiteral("getdate"), {QString(), QString(), T::Fecha}},
        {QStringLiteral("count"), {QStringLiteral("count"), QString(), T::Entero}},
        {QStringLiteral("sum"), {QStringLiteral("sum"), QString(), T::Ninguno}},
        {QStringLiteral("min"), {QStringLiteral("min"), QString(), T::Ninguno}},
        {QStringLiteral("max"), {QStringLiteral("max"), QString(), T::Ninguno}},
        {QStringLiteral("avg"), {QStringLiteral("avg"), QString(), T::Ninguno}},
        {QStringLiteral("upper"), {QStringLiteral("upper"), QString(), T::Texto}},
        {QStringLiteral("lower"), {QStringLiteral("lower"), QString(), T::Texto}},
        {QStringLiteral("ltrim"), {QStringLiteral("ltrim"), QString(), T::Texto}},
        {QStringLiteral("rtrim"), {QStringLiteral("rtrim"), QString(), T::Texto}}};
    return f;
}

// The moment as GETDATE() gives it; SQLite fixes 'now' for the whole statement, as the server.
const QString kGetdate = QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now','localtime')");

QString nombreSqlite(const QString& nombre) {
    QString r = nombre;
    return QLatin1Char('"') + r.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString cadenaSqlite(const QString& texto) {
    QString r = texto;
    return QLatin1Char('\'') + r.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

// ---------------------------------------------------------------------------------------------
// The translator

class Traductor {
  public:
    explicit Traductor(std::vector<Token> t) : t_(std::move(t)) {}
    Traduccion traducir();

  private:
    enum class Clase {
        Clave,  // keyword
        Ref,    // column reference (or an alias word)
        Numero,
        Cadena,
        Simbolo,      // operators and commas
        Comparacion,  // = <> != < > <= >=
        Abre,
        Cierra,
        Funcion,  // a function's name, its '(' follows
        Expr,     // a complete expression in one piece (GETDATE())
        Alias,
        Tabla
    };
    struct Trozo {
        QString texto;
        Clase clase;
        QString palabra;     // keyword in capitals, function name in small letters
        QStringList partes;  // the parts of a column reference
    };
    struct Nombre {
        QStringList partes;
        std::vector<bool> corchete;
    };
    struct ListaSelect {
        int prof;
        int nivelCase;
        size_t inicio;
        bool alias = false;
    };
    struct ListaOrden {
        int prof;
        size_t inicio;
    };
    struct Cast {
        QString cola;
        size_t fin;
    };

    const Token& tok(size_t k) const {
        static const Token nada{Token::Simbolo, QString()};
        return k < t_.size() ? t_[k] : nada;
    }
    const Trozo* ultimo() const { return out_.empty() ? nullptr : &out_.back(); }
    bool ultimoEs(Clase c) const { return ultimo() && ultimo()->clase == c; }
    bool ultimoEsClave(const char* p) const {
        return ultimoEs(Clase::Clave) && ultimo()->palabra == QLatin1String(p);
    }
    bool finDeExpresion() const {
        if (!ultimo()) return false;
        switch (ultimo()->clase) {
            case Clase::Ref:
            case Clase::Numero:
            case Clase::Cadena:
            case Clase::Cierra:
            case Clase::Expr:
                return true;
            case Clase::Clave:
                return ultimo()->palabra == QLatin1String("END");
            default:
                return false;
        }
    }
    bool enListaSelect() const { return !selects_.empty() && selects_.back().prof == prof_; }
    bool enOrden() const { return !ordenes_.empty() && ordenes_.back().prof == prof_; }
    bool enFrom() const { return !froms_.empty() && froms_.back() == prof_; }
    bool comparacion(const Token& t) const {
        static const QSet<QString> c = {
            QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<"),
            QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
        return t.tipo == Token::Simbolo && c.contains(t.texto);
    }
    bool numeroSigue(size_t k) const {
        if (tok(k).tipo == Token::Numero) return true;
        return (esSimbolo(tok(k), "-") || esSimbolo(tok(k), "+")) &&
               tok(k + 1).tipo == Token::Numero;
    }

    void emitir(const QString& texto, Clase clase, const QString& palabra = QString(),
                const QStringList& partes = QStringList()) {
        out_.push_back({texto, clase, palabra, partes});
    }

    void validarForma();
    void cadena();
    void simbolo();
    void palabraClave(const QString& k);
    bool likeComoIgualdad() const;
    void nombre();
    void tabla(const Nombre& n);
    void funcion(const Nombre& n);
    void cast();
    Nombre leerNombre();
    void terminarItem();
    void terminarTermino();
    void cerrarContextos(int nivel);
    const Columna* columnaDe(const QStringList& partes) const;
    QString textoNombre(const Nombre& n, qsizetype desde) const;

    std::vector<Token> t_;
    size_t i_ = 0;
    std::vector<Trozo> out_;
    int prof_ = 0;
    int nivelCase_ = 0;
    std::vector<ListaSelect> selects_;
    std::vector<ListaOrden> ordenes_;
    std::vector<int> froms_;
    int fromsRaiz_ = 0;
    bool esperaTabla_ = false;
    bool enSet_ = false;
    bool tiposHechos_ = false;
    std::map<size_t, Cast> casts_;
    QHash<QString, const Tabla*> alias_;  // alias or table name, in small letters
    std::vector<const Tabla*> tablas_;
    std::vector<size_t> candidatos_;  // column references compared with a bare number
    std::vector<size_t> sumandos_;    // operands of a binary +
    std::vector<size_t> operandos_;   // operands of any binary arithmetic
    std::vector<std::pair<size_t, size_t>> literales_;  // (column, literal) compared
    Traduccion r_;
};

void Traductor::validarForma() {
    // One statement: a ';' may only be followed by more ';'.
    for (size_t k = 0; k < t_.size(); ++k) {
        if (!esSimbolo(t_[k], ";")) continue;
        for (size_t j = k; j < t_.size(); ++j)
            if (!esSimbolo(t_[j], ";"))
                rechazar(
                    QStringLiteral("solo se admite una sentencia por texto (hay más después "
                                   "del «;»)"));
        t_.resize(k);
        break;
    }
    if (t_.empty()) rechazar(QStringLiteral("el texto está vacío"));
    const Token& primero = t_.front();
    if (esPalabra(primero, "SELECT"))
        r_.clase = ClaseSentencia::Select;
    else if (esPalabra(primero, "INSERT"))
        r_.clase = ClaseSentencia::Insert;
    else if (esPalabra(primero, "UPDATE"))
        r_.clase = ClaseSentencia::Update;
    else if (esPalabra(primero, "DELETE"))
        r_.clase = ClaseSentencia::Delete;
    else if (esPalabra(primero, "EXEC") || esPalabra(primero, "EXECUTE"))
        rechazar(
            QStringLiteral("los procedimientos almacenados se llaman con parámetros "
                           "(Comando), no en el texto de una sentencia"));
    else
        rechazar(QStringLiteral("solo se admiten SELECT, INSERT, UPDATE y DELETE, no «%1»")
                     .arg(primero.texto));
}

Traduccion Traductor::traducir() {
    validarForma();
    while (i_ < t_.size()) {
        const auto c = casts_.find(i_);
        if (c != casts_.end()) {
            // The AS of a CAST: the rest of the CAST becomes the tail of its replacement.
            cerrarContextos(prof_);
            --prof_;
            emitir(c->second.cola, Clase::Cierra);
            i_ = c->second.fin + 1;
            casts_.erase(c);
            continue;
        }
        switch (t_[i_].tipo) {
            case Token::Cadena:
                cadena();
                break;
            case Token::Numero:
                emitir(t_[i_].texto, Clase::Numero);
                ++i_;
                break;
            case Token::Simbolo:
                simbolo();
                break;
            case Token::Palabra:
            case Token::Corchete:
                nombre();
                break;
        }
    }
    if (prof_ != 0) rechazar(QStringLiteral("paréntesis sin cerrar"));
    if (nivelCase_ != 0) rechazar(QStringLiteral("CASE sin END"));
    cerrarContextos(0);

    // A text column holding a number compared with a bare number compares numbers, as the
    // server converts the text; joins between text and number columns already do.
    for (size_t k : candidatos_) {
        const Columna* c = columnaDe(out_[k].partes);
        if (c && EsTexto(c->tipo))
            out_[k].texto = QStringLiteral("CAST(%1 AS NUMERIC)").arg(out_[k].texto);
    }
    // A literal compared with a date column is a date on the server ('20261130' included);
    // 'true'/'false' compared with a bit column are 1 and 0.
    for (const auto& [ref, lit] : literales_) {
        if (lit >= out_.size() || ref >= out_.size() || out_[ref].clase != Clase::Ref ||
            out_[lit].clase != Clase::Cadena)
            continue;
        const Columna* c = columnaDe(out_[ref].partes);
        if (!c) continue;
        const QString crudo = out_[lit].palabra;
        if (c->tipo == TipoColumna::Fecha) {
            const QDateTime f = LeerFecha(crudo);
            if (!f.isValid())
                rechazar(
                    QStringLiteral("«%1» comparado con la fecha %2").arg(crudo, out_[ref].texto));
            out_[lit].texto = cadenaSqlite(TextoFecha(f));
        } else if (c->tipo == TipoColumna::Bit) {
            const QString v = crudo.trimmed().toLower();
            if (v == QLatin1String("true") || v == QLatin1String("1"))
                out_[lit].texto = QStringLiteral("1");
            else if (v == QLatin1String("false") || v == QLatin1String("0"))
                out_[lit].texto = QStringLiteral("0");
            else
                rechazar(
                    QStringLiteral("«%1» comparado con el bit %2").arg(crudo, out_[ref].texto));
        }
    }
    // Date arithmetic counts days on the server and nothing sensible in SQLite.
    for (size_t k : operandos_) {
        if (k >= out_.size()) continue;
        const Trozo& o = out_[k];
        const Columna* c = o.clase == Clase::Ref ? columnaDe(o.partes) : nullptr;
        if ((o.clase == Clase::Expr && o.palabra == QLatin1String("getdate")) ||
            (c && c->tipo == TipoColumna::Fecha))
            rechazar(QStringLiteral("aritmética con la fecha %1").arg(o.texto));
    }
    // '+' also joins texts on the server: admitted only between numbers known as such.
    for (size_t k : sumandos_) {
        const Trozo& o = out_[k];
        bool numerico = o.clase == Clase::Numero;
        if (o.clase == Clase::Ref) {
            const Columna* c = columnaDe(o.partes);
            numerico = c && !EsTexto(c->tipo) && c->tipo != TipoColumna::Fecha;
        }
        if (!numerico)
            rechazar(QStringLiteral("el operador + con «%1» (en SQL Server también concatena "
                                    "textos)")
                         .arg(o.texto));
    }

    QStringList partes;
    partes.reserve(static_cast<qsizetype>(out_.size()));
    for (const Trozo& o : out_) partes << o.texto;
    r_.sql = partes.join(QLatin1Char(' '));
    if (r_.clase == ClaseSentencia::Insert) {
        const Tabla* t = BuscarTabla(r_.tabla);
        r_.conIdentidad = t && t->tieneIdentidad();
    }
    return r_;
}

void Traductor::cadena() {
    const Token& t = t_[i_];
    if (enListaSelect() && (finDeExpresion() || ultimoEsClave("AS"))) {
        // 'alias' after an expression names the column.
        emitir((ultimoEsClave("AS") ? QString() : QStringLiteral("AS ")) + nombreSqlite(t.texto),
               Clase::Alias);
        selects_.back().alias = true;
        ++i_;
        return;
    }
    QString lit = cadenaSqlite(t.texto);
    // A literal compared with anything compares as the server's collation, also against
    // expressions (function results) that carry no collation of their own.
    const bool asignacion = enSet_ && prof_ == 0 && nivelCase_ == 0;
    if ((ultimoEs(Clase::Comparacion) && !asignacion) || comparacion(tok(i_ + 1)))
        lit += QStringLiteral(" COLLATE NOCASE");
    emitir(lit, Clase::Cadena, t.texto);
    ++i_;
}

void Traductor::simbolo() {
    const QString s = t_[i_].texto;
    if (s == QLatin1String("(")) {
        ++prof_;
        esperaTabla_ = false;  // a derived table: its SELECT list comes first
        emitir(s, Clase::Abre);
    } else if (s == QLatin1String(")")) {
        if (prof_ == 0) rechazar(QStringLiteral("un «)» sin «(»"));
        cerrarContextos(prof_);
        --prof_;
        emitir(s, Clase::Cierra);
    } else if (s == QLatin1String(",")) {
        if (enListaSelect()) terminarItem();
        if (enOrden()) terminarTermino();
        emitir(s, Clase::Simbolo);
        if (enFrom()) esperaTabla_ = true;
        if (enOrden()) ordenes_.back().inicio = out_.size();
        if (enListaSelect()) {
            selects_.back().inicio = out_.size();
            selects_.back().alias = false;
        }
    } else if (comparacion(t_[i_])) {
        if (enSet_ && prof_ == 0 && nivelCase_ == 0 && s == QLatin1String("=")) {
            emitir(s, Clase::Simbolo);  // an assignment of UPDATE ... SET
        } else {
            if (enListaSelect() && nivelCase_ == selects_.back().nivelCase)
                rechazar(QStringLiteral("«%1» en la lista del SELECT (la forma «alias = expresión» "
                                        "de T-SQL no se admite; use «expresión AS alias»)")
                             .arg(s));
            if (ultimoEs(Clase::Ref) && numeroSigue(i_ + 1)) candidatos_.push_back(out_.size() - 1);
            if (ultimoEs(Clase::Ref) && tok(i_ + 1).tipo == Token::Cadena)
                literales_.push_back({out_.size() - 1, out_.size() + 1});
            if (ultimoEs(Clase::Cadena) &&
                (tok(i_ + 1).tipo == Token::Palabra || tok(i_ + 1).tipo == Token::Corchete))
                literales_.push_back({out_.size() + 1, out_.size() - 1});
            emitir(s, Clase::Comparacion);
        }
    } else if (s == QLatin1String("+")) {
        if (!finDeExpresion()) {
            if (tok(i_ + 1).tipo != Token::Numero) rechazar(QStringLiteral("un + sin número"));
            emitir(s, Clase::Simbolo);  // the sign of a number
        } else {
            const Token& d = tok(i_ + 1);
            const bool refSigue = (d.tipo == Token::Palabra || d.tipo == Token::Corchete) &&
                                  !clavesAdmitidas().contains(d.texto.toUpper());
            if (d.tipo != Token::Numero && !refSigue)
                rechazar(QStringLiteral("el operador + delante de «%1» (en SQL Server también "
                                        "concatena textos)")
                             .arg(d.texto));
            sumandos_.push_back(out_.size() - 1);
            sumandos_.push_back(out_.size() + 1);
            emitir(s, Clase::Simbolo);
        }
    } else if (s == QLatin1String("-") || s == QLatin1String("*") || s == QLatin1String("/") ||
               s == QLatin1String("%")) {
        if (finDeExpresion()) {
            operandos_.push_back(out_.size() - 1);
            operandos_.push_back(out_.size() + 1);
        }
        emitir(s, Clase::Simbolo);
    } else {
        rechazar(QStringLiteral("el operador «%1»").arg(s));
    }
    ++i_;
}

void Traductor::cerrarContextos(int nivel) {
    while (!selects_.empty() && selects_.back().prof >= nivel) {
        const bool propia = selects_.back().prof == prof_;
        if (propia) terminarItem();
        selects_.pop_back();
    }
    while (!ordenes_.empty() && ordenes_.back().prof >= nivel) {
        terminarTermino();
        ordenes_.pop_back();
    }
    while (!froms_.empty() && froms_.back() >= nivel) froms_.pop_back();
    if (nivel <= 0) enSet_ = false;
}

void Traductor::terminarItem() {
    ListaSelect& l = selects_.back();
    const size_t fin = out_.size();
    if (l.inicio >= fin) rechazar(QStringLiteral("un elemento vacío en la lista del SELECT"));
    const bool externa = l.prof == 0;
    // The type of a column SQLite cannot declare: a function call that is the whole column.
    if (externa && !tiposHechos_ && r_.clase == ClaseSentencia::Select) {
        TipoResultado tipo = TipoResultado::Ninguno;
        size_t finExpr = fin;
        if (out_[fin - 1].clase == Clase::Alias) --finExpr;
        const Trozo& a = out_[l.inicio];
        if (a.clase == Clase::Expr && finExpr == l.inicio + 1) {
            tipo = funciones().value(a.palabra).tipo;
        } else if (a.clase == Clase::Funcion && l.inicio + 1 < finExpr &&
                   out_[l.inicio + 1].clase == Clase::Abre) {
            int nivel = 0;
            size_t k = l.inicio + 1;
            for (; k < finExpr; ++k) {
                if (out_[k].clase == Clase::Abre) ++nivel;
                if (out_[k].clase == Clase::Cierra && --nivel == 0) break;
            }
            if (k == finExpr - 1) tipo = funciones().value(a.palabra).tipo;
        }
        r_.tipos << tipo;
    }
    // A column without a name has none on the server either, whatever SQLite would call it.
    const bool simple = fin == l.inicio + 1 && (out_[l.inicio].clase == Clase::Ref ||
                                                out_[l.inicio].texto == QLatin1String("*"));
    if (externa && !l.alias && !simple) emitir(QStringLiteral("AS \"\""), Clase::Alias);
}

void Traductor::terminarTermino() {
    ListaOrden& o = ordenes_.back();
    if (o.inicio >= out_.size()) rechazar(QStringLiteral("un término vacío en ORDER BY"));
    // Texts sort as the server's collation; numbers are not affected by it.
    const Trozo& u = out_.back();
    const Trozo cotejo{
        QStringLiteral("COLLATE NOCASE"), Clase::Clave, QStringLiteral("COLLATE"), {}};
    if (u.clase == Clase::Clave &&
        (u.palabra == QLatin1String("ASC") || u.palabra == QLatin1String("DESC")))
        out_.insert(out_.end() - 1, cotejo);
    else
        out_.push_back(cotejo);
}

Traductor::Nombre Traductor::leerNombre() {
    Nombre n;
    for (;;) {
        const Token& t = tok(i_);
        if (t.tipo == Token::Palabra || t.tipo == Token::Corchete) {
            n.partes << t.texto;
            n.corchete.push_back(t.tipo == Token::Corchete);
            ++i_;
        } else if (esSimbolo(t, ".")) {
            n.partes << QString();  // db..tabla: the owner left out
            n.corchete.push_back(false);
        } else if (esSimbolo(t, "*") && !n.partes.isEmpty()) {
            n.partes << QStringLiteral("*");
            n.corchete.push_back(false);
            ++i_;
            return n;
        } else {
            rechazar(QStringLiteral("un nombre incompleto antes de «%1»").arg(t.texto));
        }
        if (!esSimbolo(tok(i_), ".")) return n;
        ++i_;
    }
}

QString Traductor::textoNombre(const Nombre& n, qsizetype desde) const {
    QStringList p;
    for (qsizetype k = desde; k < n.partes.size(); ++k) {
        const QString& x = n.partes[k];
        if (!n.corchete[static_cast<size_t>(k)] && !x.isEmpty() && x != QLatin1String("*")) {
            const QString may = x.toUpper();
            if (reservadasTSql().contains(may) || esClaveSqlite(x))
                rechazar(QStringLiteral("la palabra reservada «%1» usada como nombre").arg(x));
        }
        p << (n.corchete[static_cast<size_t>(k)] ? nombreSqlite(x) : x);
    }
    return p.join(QLatin1Char('.'));
}

void Traductor::nombre() {
    const Token& t = t_[i_];
    if (t.tipo == Token::Palabra) {
        const QString k = t.texto.toUpper();
        if (clavesAdmitidas().contains(k)) {
            if ((k == QLatin1String("LEFT") || k == QLatin1String("RIGHT")) &&
                esSimbolo(tok(i_ + 1), "("))
                rechazar(QStringLiteral("la función %1()").arg(k));
            palabraClave(k);
            return;
        }
        if (reservadasTSql().contains(k) || esClaveSqlite(t.texto))
            rechazar(QStringLiteral("la palabra «%1»").arg(t.texto));
    }
    // An alias given without AS, or after AS.
    if ((enListaSelect() && (finDeExpresion() || ultimoEsClave("AS"))) && !esperaTabla_) {
        Nombre n = leerNombre();
        if (n.partes.size() != 1) rechazar(QStringLiteral("un alias con puntos"));
        emitir(textoNombre(n, 0), Clase::Alias);
        selects_.back().alias = true;
        return;
    }
    Nombre n = leerNombre();
    if (esperaTabla_) {
        // After INSERT INTO the '(' opens the column list; elsewhere it would be a function
        // returning a table, which the server has and SQLite does not.
        if (esSimbolo(tok(i_), "(") && !ultimoEsClave("INTO"))
            rechazar(QStringLiteral("la tabla «%1» seguida de «(»").arg(n.partes.join('.')));
        tabla(n);
        return;
    }
    if (esSimbolo(tok(i_), "(")) {
        funcion(n);
        return;
    }
    // A column: alias.columna, tabla.columna, or with the database and owner before them.
    QStringList partes = n.partes;
    qsizetype desde = 0;
    if (partes.size() > 2) {
        const QString dueno = partes[partes.size() - 3];
        if (!dueno.isEmpty() && dueno.compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            rechazar(QStringLiteral("el nombre «%1»").arg(partes.join(QLatin1Char('.'))));
        if (partes.size() > 4) rechazar(QStringLiteral("el nombre «%1»").arg(partes.join('.')));
        desde = partes.size() - 2;
    }
    const QString texto = textoNombre(n, desde);
    partes = partes.mid(desde);
    emitir(texto, Clase::Ref, QString(), partes);
    if (out_.size() >= 3 && out_[out_.size() - 2].clase == Clase::Comparacion &&
        out_[out_.size() - 3].clase == Clase::Numero)
        candidatos_.push_back(out_.size() - 1);
}

void Traductor::palabraClave(const QString& k) {
    auto clave = [&](const QString& texto) { emitir(texto, Clase::Clave, texto); };
    ++i_;
    if (k == QLatin1String("SELECT")) {
        if (enListaSelect())
            rechazar(QStringLiteral("SELECT dentro de la lista de otro SELECT sin paréntesis"));
        clave(k);
        selects_.push_back({prof_, nivelCase_, out_.size()});
        // DISTINCT / ALL belong to the SELECT, not to its first column.
        while (i_ < t_.size() && (esPalabra(tok(i_), "DISTINCT") || esPalabra(tok(i_), "ALL"))) {
            clave(t_[i_].texto.toUpper());
            ++i_;
            selects_.back().inicio = out_.size();
        }
        return;
    }
    if (k == QLatin1String("FROM")) {
        if (enListaSelect()) {
            terminarItem();
            selects_.pop_back();
            if (prof_ == 0) tiposHechos_ = true;
        }
        if (prof_ == 0 && r_.clase == ClaseSentencia::Update)
            rechazar(QStringLiteral("UPDATE con FROM"));
        if (prof_ == 0 && r_.clase == ClaseSentencia::Delete && ++fromsRaiz_ > 1)
            rechazar(QStringLiteral("DELETE con un segundo FROM"));
        clave(k);
        froms_.push_back(prof_);
        esperaTabla_ = true;
        return;
    }
    if (k == QLatin1String("JOIN")) {
        if (prof_ == 0 && r_.clase != ClaseSentencia::Select && r_.clase != ClaseSentencia::Insert)
            rechazar(QStringLiteral("JOIN en %1")
                         .arg(r_.clase == ClaseSentencia::Update ? QStringLiteral("UPDATE")
                                                                 : QStringLiteral("DELETE")));
        clave(k);
        esperaTabla_ = true;
        return;
    }
    if (k == QLatin1String("WHERE") || k == QLatin1String("GROUP") ||
        k == QLatin1String("HAVING") || k == QLatin1String("ORDER") ||
        k == QLatin1String("UNION")) {
        if (enListaSelect()) {
            terminarItem();
            selects_.pop_back();
            if (prof_ == 0) tiposHechos_ = true;
        }
        while (!froms_.empty() && froms_.back() >= prof_) froms_.pop_back();
        if (enOrden()) {
            terminarTermino();
            ordenes_.pop_back();
        }
        if (k == QLatin1String("WHERE") && prof_ == 0) enSet_ = false;
        if (k == QLatin1String("GROUP") || k == QLatin1String("ORDER")) {
            if (!esPalabra(tok(i_), "BY")) rechazar(QStringLiteral("%1 sin BY").arg(k));
            ++i_;
            clave(k + QStringLiteral(" BY"));
            if (k == QLatin1String("ORDER")) ordenes_.push_back({prof_, out_.size()});
            return;
        }
        clave(k);
        return;
    }
    if (k == QLatin1String("SET")) {
        if (r_.clase != ClaseSentencia::Update || prof_ != 0)
            rechazar(QStringLiteral("SET fuera de UPDATE"));
        enSet_ = true;
        clave(k);
        return;
    }
    if (k == QLatin1String("CAST")) {
        --i_;
        cast();
        return;
    }
    if (k == QLatin1String("LIKE") && likeComoIgualdad()) {
        // Said as the equality it is, it can be answered through the column's index.
        emitir(QStringLiteral("="), Clase::Comparacion);
        return;
    }
    if (k == QLatin1String("BETWEEN") || k == QLatin1String("IN")) {
        // The column compared: right before, or before a NOT.
        size_t ref = out_.size();
        if (ultimoEs(Clase::Ref))
            ref = out_.size() - 1;
        else if (ultimoEsClave("NOT") && out_.size() >= 2 &&
                 out_[out_.size() - 2].clase == Clase::Ref)
            ref = out_.size() - 2;
        clave(k);
        if (ref < out_.size()) {
            if (k == QLatin1String("IN") && esSimbolo(tok(i_), "(") && numeroSigue(i_ + 1))
                candidatos_.push_back(ref);
            if (k == QLatin1String("BETWEEN")) {
                if (numeroSigue(i_)) candidatos_.push_back(ref);
                if (tok(i_).tipo == Token::Cadena) {
                    literales_.push_back({ref, out_.size()});
                    if (esPalabra(tok(i_ + 1), "AND") && tok(i_ + 2).tipo == Token::Cadena)
                        literales_.push_back({ref, out_.size() + 2});
                }
            }
        }
        return;
    }
    if (k == QLatin1String("CASE")) {
        ++nivelCase_;
    } else if (k == QLatin1String("END")) {
        if (--nivelCase_ < 0) rechazar(QStringLiteral("END sin CASE"));
    } else if (k == QLatin1String("INTO")) {
        if (!ultimoEsClave("INSERT")) rechazar(QStringLiteral("SELECT ... INTO"));
        clave(k);
        esperaTabla_ = true;
        return;
    } else if (k == QLatin1String("INSERT") || k == QLatin1String("UPDATE") ||
               k == QLatin1String("DELETE")) {
        if (out_.size() != 0) rechazar(QStringLiteral("%1 dentro de otra sentencia").arg(k));
        clave(k);
        if (k == QLatin1String("UPDATE")) esperaTabla_ = true;
        // T-SQL lets INSERT go without INTO and DELETE without FROM; SQLite does not.
        if (k == QLatin1String("INSERT") && !esPalabra(tok(i_), "INTO")) {
            clave(QStringLiteral("INTO"));
            esperaTabla_ = true;
        }
        if (k == QLatin1String("DELETE") && !esPalabra(tok(i_), "FROM")) {
            clave(QStringLiteral("FROM"));
            froms_.push_back(prof_);
            ++fromsRaiz_;
            esperaTabla_ = true;
        }
        return;
    }
    clave(k);
}

// A text column LIKE a pattern without wildcards matches exactly what = matches under the
// collation: case and accented case folded, the value's trailing blanks ignored. A pattern that
// ends in blanks asks for them, which = would not, so it stays a LIKE; so does any operand that
// is not a column alone, and a LIKE with ESCAPE.
bool Traductor::likeComoIgualdad() const {
    if (!ultimoEs(Clase::Ref) || out_.size() < 2) return false;
    const Trozo& antes = out_[out_.size() - 2];
    static const QSet<QString> abren = {QStringLiteral("WHERE"), QStringLiteral("AND"),
                                        QStringLiteral("OR"),    QStringLiteral("NOT"),
                                        QStringLiteral("ON"),    QStringLiteral("HAVING")};
    if (antes.clase != Clase::Abre &&
        !(antes.clase == Clase::Clave && abren.contains(antes.palabra)))
        return false;
    const Token& patron = tok(i_);
    if (patron.tipo != Token::Cadena || patron.texto.endsWith(QLatin1Char(' '))) return false;
    for (QChar c : patron.texto)
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('[')) return false;
    const Token& sigue = tok(i_ + 1);
    const bool fin = i_ + 1 >= t_.size() || esSimbolo(sigue, ")") || esPalabra(sigue, "AND") ||
                     esPalabra(sigue, "OR") || esPalabra(sigue, "ORDER") ||
                     esPalabra(sigue, "GROUP") || esPalabra(sigue, "HAVING") ||
                     esPalabra(sigue, "UNION");
    if (!fin) return false;
    const Columna* c = columnaDe(out_.back().partes);
    return c && EsTexto(c->tipo);
}

void Traductor::tabla(const Nombre& n) {
    esperaTabla_ = false;
    const QStringList& p = n.partes;
    QString base = QStringLiteral("main");
    QString nombreTabla;
    if (p.size() == 1) {
        nombreTabla = p[0];  // unprefixed objects live in the connection's database, erp_oxa
    } else if (p.size() == 2) {
        if (p[0].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            rechazar(QStringLiteral("el esquema «%1» (solo existe dbo)").arg(p[0]));
        nombreTabla = p[1];
    } else if (p.size() == 3) {
        if (p[0].compare(QLatin1String("erp_oxa"), Qt::CaseInsensitive) == 0)
            base = QStringLiteral("main");
        else if (p[0].compare(QLatin1String("norv"), Qt::CaseInsensitive) == 0)
            base = QStringLiteral("norv");
        else
            rechazar(
                QStringLiteral("la base de datos «%1» (solo existen erp_oxa y norv)").arg(p[0]));
        if (!p[1].isEmpty() && p[1].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            rechazar(QStringLiteral("el esquema «%1» (solo existe dbo)").arg(p[1]));
        nombreTabla = p[2];
    } else {
        rechazar(QStringLiteral("el nombre de tabla «%1»").arg(p.join(QLatin1Char('.'))));
    }
    if (nombreTabla == QLatin1String("*") || nombreTabla.isEmpty())
        rechazar(QStringLiteral("un nombre de tabla vacío"));
    Nombre solo{{nombreTabla}, {n.corchete.back()}};
    emitir(base + QLatin1Char('.') + textoNombre(solo, 0), Clase::Tabla);

    const Tabla* info = BuscarTabla(nombreTabla);
    if (info) {
        tablas_.push_back(info);
        alias_.insert(nombreTabla.toLower(), info);
    }
    if (r_.clase != ClaseSentencia::Select && prof_ == 0 && r_.tabla.isEmpty())
        r_.tabla = info ? info->nombre : nombreTabla;

    // Its alias, with or without AS.
    size_t k = i_;
    if (esPalabra(tok(k), "AS")) ++k;
    const Token& a = tok(k);
    const bool palabraLibre =
        a.tipo == Token::Palabra && !clavesAdmitidas().contains(a.texto.toUpper()) &&
        !reservadasTSql().contains(a.texto.toUpper()) && !esClaveSqlite(a.texto);
    if (palabraLibre || a.tipo == Token::Corchete) {
        if (k != i_) emitir(QStringLiteral("AS"), Clase::Clave, QStringLiteral("AS"));
        emitir(a.tipo == Token::Corchete ? nombreSqlite(a.texto) : a.texto, Clase::Alias);
        if (info) alias_.insert(a.texto.toLower(), info);
        i_ = k + 1;
    } else if (k != i_) {
        rechazar(QStringLiteral("AS sin alias de tabla"));
    }
}

void Traductor::funcion(const Nombre& n) {
    const QString nombreF = n.partes.last().toLower();
    const auto f = funciones().constFind(nombreF);
    if (f == funciones().constEnd())
        rechazar(QStringLiteral("la función «%1» (no está entre las que emula el motor)")
                     .arg(n.partes.join(QLatin1Char('.'))));
    const qsizetype prefijos = n.partes.size() - 1;
    if (f->base.isEmpty()) {
        if (prefijos != 0)
            rechazar(QStringLiteral("la función del sistema «%1» con dueño")
                         .arg(n.partes.join(QLatin1Char('.'))));
    } else {
        // The schema's functions are called with their owner, in the database that holds them.
        if (prefijos == 0)
            rechazar(QStringLiteral("la función «%1» sin su dueño (escriba dbo.%1)")
                         .arg(n.partes.last()));
        if (prefijos > 2 ||
            n.partes[prefijos - 1].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            rechazar(QStringLiteral("el dueño de la función «%1»").arg(n.partes.join('.')));
        QString base = QStringLiteral("main");
        if (prefijos == 2) {
            if (n.partes[0].compare(QLatin1String("norv"), Qt::CaseInsensitive) == 0)
                base = QStringLiteral("norv");
            else if (n.partes[0].compare(QLatin1String("erp_oxa"), Qt::CaseInsensitive) != 0)
                rechazar(QStringLiteral("la base de datos «%1»").arg(n.partes[0]));
        }
        if (base != f->base)
            rechazar(QStringLiteral("la función «%1», que está en %2 y no en %3")
                         .arg(n.partes.join(QLatin1Char('.')),
                              f->base == QLatin1String("main") ? QStringLiteral("erp_oxa")
                                                               : QStringLiteral("norv"),
                              base == QLatin1String("main") ? QStringLiteral("erp_oxa")
                                                            : QStringLiteral("norv")));
    }
    if (nombreF == QLatin1String("getdate")) {
        if (!esSimbolo(tok(i_ + 1), ")")) rechazar(QStringLiteral("GETDATE con argumentos"));
        i_ += 2;
        emitir(kGetdate, Clase::Expr, nombreF);
        return;
    }
    emitir(f->destino, Clase::Funcion, nombreF);
}

void Traductor::cast() {
    // CAST ( expresión AS tipo [(n)] )
    const size_t inicio = i_;
    if (!esSimbolo(tok(inicio + 1), "(")) rechazar(QStringLiteral("CAST sin paréntesis"));
    size_t fin = inicio + 1, como = 0;
    int nivel = 0;
    for (; fin < t_.size(); ++fin) {
        if (esSimbolo(t_[fin], "(")) ++nivel;
        if (esSimbolo(t_[fin], ")") && --nivel == 0) break;
        if (nivel == 1 && esPalabra(t_[fin], "AS")) como = fin;
    }
    if (fin >= t_.size()) rechazar(QStringLiteral("CAST sin cerrar"));
    if (como == 0) rechazar(QStringLiteral("CAST sin AS"));
    size_t k = como + 1;
    if (tok(k).tipo != Token::Palabra) rechazar(QStringLiteral("CAST sin tipo"));
    const QString tipo = tok(k).texto.toLower();
    ++k;
    QString largo;
    if (esSimbolo(tok(k), "(")) {
        // varchar(max) and nvarchar(max) keep the whole text.
        const bool maximo = esPalabra(tok(k + 1), "max") &&
                            (tipo == QLatin1String("varchar") || tipo == QLatin1String("nvarchar"));
        if (tok(k + 1).tipo != Token::Numero && !maximo)
            rechazar(QStringLiteral("CAST con un largo no numérico"));
        largo = maximo ? QStringLiteral("2147483647") : tok(k + 1).texto;
        k += 2;
        if (esSimbolo(tok(k), ",") && tok(k + 1).tipo == Token::Numero) k += 2;  // (p, s)
        if (!esSimbolo(tok(k), ")")) rechazar(QStringLiteral("CAST con un tipo mal escrito"));
        ++k;
    }
    if (k != fin) rechazar(QStringLiteral("CAST con un tipo mal escrito"));

    QString cabeza, cola;
    // Without a length the server converts to 30 characters.
    const QString n = largo.isEmpty() ? QStringLiteral("30") : largo;
    if (tipo == QLatin1String("char") || tipo == QLatin1String("nchar") ||
        tipo == QLatin1String("character")) {
        cabeza = QStringLiteral("cast_char(");
        cola = QStringLiteral(", %1)").arg(n);
    } else if (tipo == QLatin1String("varchar") || tipo == QLatin1String("nvarchar")) {
        cabeza = QStringLiteral("cast_varchar(");
        cola = QStringLiteral(", %1)").arg(n);
    } else if (tipo == QLatin1String("int") || tipo == QLatin1String("integer") ||
               tipo == QLatin1String("bigint") || tipo == QLatin1String("smallint") ||
               tipo == QLatin1String("tinyint")) {
        cabeza = QStringLiteral("CAST(");
        cola = QStringLiteral("AS INTEGER)");
    } else if (tipo == QLatin1String("numeric") || tipo == QLatin1String("decimal") ||
               tipo == QLatin1String("float") || tipo == QLatin1String("real") ||
               tipo == QLatin1String("money")) {
        cabeza = QStringLiteral("CAST(");
        cola = QStringLiteral("AS REAL)");
    } else {
        rechazar(QStringLiteral("CAST a %1").arg(tok(como + 1).texto));
    }
    ++prof_;
    emitir(cabeza, Clase::Abre);
    casts_[como] = {cola, fin};
    i_ = inicio + 2;
}

const Columna* Traductor::columnaDe(const QStringList& partes) const {
    if (partes.isEmpty()) return nullptr;
    const QString col = partes.last();
    if (partes.size() >= 2) {
        const Tabla* t = alias_.value(partes[partes.size() - 2].toLower());
        return t ? t->columna(col) : nullptr;
    }
    // A bare column: text in any table of the statement that has it is enough to convert,
    // since converting a number column compares the same.
    const Columna* hallada = nullptr;
    for (const Tabla* t : tablas_) {
        const Columna* c = t->columna(col);
        if (!c) continue;
        if (EsTexto(c->tipo)) return c;
        if (!hallada) hallada = c;
    }
    return hallada;
}

}  // namespace

Traduccion Traducir(const QString& sql) { return Traductor(tokenizar(sql)).traducir(); }

}  // namespace db::incrustado
