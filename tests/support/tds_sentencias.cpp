#include "tds_sentencias.h"

#include <QRegularExpression>

namespace tds {

namespace {

using QRE = QRegularExpression;

struct Forma {
    ParteLote::Clase clase;
    QRegularExpression re;
};

const std::vector<Forma>& formas() {
    const auto i = QRE::CaseInsensitiveOption;
    static const QString tran = QStringLiteral(R"((?:\s+(?:TRAN(?:SACTION)?|WORK)\b)?)");
    static const std::vector<Forma> f = {
        {ParteLote::SiConfirmar,
         QRE(QStringLiteral(R"(IF\s+@@TRANCOUNT\s*>\s*0\s+COMMIT\b)") + tran, i)},
        {ParteLote::SiDeshacer,
         QRE(QStringLiteral(R"(IF\s+@@TRANCOUNT\s*>\s*0\s+ROLLBACK\b)") + tran, i)},
        {ParteLote::Opcion,
         QRE(QStringLiteral(R"(SET\s+(TRANSACTION\s+ISOLATION\s+LEVEL)\s+(READ\s+UNCOMMITTED|)"
                            R"(READ\s+COMMITTED|REPEATABLE\s+READ|SNAPSHOT|SERIALIZABLE)\b)"),
             i)},
        {ParteLote::Opcion, QRE(QStringLiteral(R"(SET\s+(\w+(?:\s*,\s*\w+)*)\s+(ON|OFF)\b)"), i)},
        {ParteLote::Opcion, QRE(QStringLiteral(R"(SET\s+(\w+)\s+(-?\d+|\w+)\b)"), i)},
        {ParteLote::Empezar, QRE(QStringLiteral(R"(BEGIN\s+TRAN(?:SACTION)?\b)"), i)},
        {ParteLote::Confirmar, QRE(QStringLiteral(R"(COMMIT\b)") + tran, i)},
        {ParteLote::Deshacer, QRE(QStringLiteral(R"(ROLLBACK\b)") + tran, i)},
        {ParteLote::Usar, QRE(QStringLiteral(R"(USE\s+(\[[^\]]+\]|\w+))"), i)},
        {ParteLote::Variables,
         QRE(QStringLiteral(R"(SELECT\s+(@@\w+(?:\s*,\s*@@\w+)*)(?=\s*(?:;|$)|\s+(?:SET|SELECT|)"
                            R"(IF|BEGIN|COMMIT|ROLLBACK|USE)\b))"),
             i)},
    };
    return f;
}

struct Token {
    enum Tipo { Nombre, Cadena, Numero, Simbolo } tipo;
    QString texto;    // a name's last part without brackets; a string without its quotes
    QString escrito;  // as written (a name with its prefixes)
    bool nacional = false;
};

std::vector<Token> tokens(const QString& s) {
    std::vector<Token> r;
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto nombre = [&](qsizetype& k) {
        QString parte;
        if (s[k] == QLatin1Char('[')) {
            const qsizetype fin = s.indexOf(QLatin1Char(']'), k);
            parte = s.mid(k + 1, (fin < 0 ? n : fin) - k - 1);
            k = fin < 0 ? n : fin + 1;
        } else {
            const qsizetype inicio = k;
            while (k < n && (s[k].isLetterOrNumber() || s[k] == QLatin1Char('_') ||
                             s[k] == QLatin1Char('@') || s[k] == QLatin1Char('#')))
                ++k;
            parte = s.mid(inicio, k - inicio);
        }
        return parte;
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'') || (c.toUpper() == QLatin1Char('N') && i + 1 < n &&
                                              s[i + 1] == QLatin1Char('\''))) {
            Token t{Token::Cadena, {}, {}, c != QLatin1Char('\'')};
            i += t.nacional ? 2 : 1;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        t.texto += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t.texto += s[i++];
            }
            r.push_back(t);
        } else if (c.isDigit()) {
            const qsizetype inicio = i;
            while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.'))) ++i;
            r.push_back({Token::Numero, s.mid(inicio, i - inicio), s.mid(inicio, i - inicio)});
        } else if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[') ||
                   c == QLatin1Char('@') || c == QLatin1Char('#')) {
            const qsizetype inicio = i;
            QString parte = nombre(i);
            while (i + 1 < n && s[i] == QLatin1Char('.')) {
                ++i;
                parte = nombre(i);
            }
            r.push_back({Token::Nombre, parte, s.mid(inicio, i - inicio)});
        } else {
            QString sim(c);
            if (i + 1 < n && QStringLiteral("<>,!=,>=,<=")
                                 .split(QLatin1Char(','))
                                 .contains(QString(c) + s[i + 1]))
                sim += s[i + 1];
            i += sim.size();
            r.push_back({Token::Simbolo, sim, sim});
        }
    }
    return r;
}

bool es(const Token& t, const char* palabra) {
    return t.tipo == Token::Nombre &&
           t.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}
bool simbolo(const Token& t, const char* s) {
    return t.tipo == Token::Simbolo && t.texto == QLatin1String(s);
}

// Splits tokens [desde, hasta) by the commas at their own depth.
std::vector<std::pair<size_t, size_t>> lista(const std::vector<Token>& t, size_t desde,
                                             size_t hasta) {
    std::vector<std::pair<size_t, size_t>> r;
    int prof = 0;
    size_t inicio = desde;
    for (size_t k = desde; k < hasta; ++k) {
        if (simbolo(t[k], "(")) ++prof;
        if (simbolo(t[k], ")")) --prof;
        if (prof == 0 && simbolo(t[k], ",")) {
            r.push_back({inicio, k});
            inicio = k + 1;
        }
    }
    r.push_back({inicio, hasta});
    return r;
}

size_t cierre(const std::vector<Token>& t, size_t abre) {
    int prof = 0;
    for (size_t k = abre; k < t.size(); ++k) {
        if (simbolo(t[k], "(")) ++prof;
        if (simbolo(t[k], ")") && --prof == 0) return k;
    }
    return t.size();
}

QString tipoDe(const Token& t, const QString& columna) {
    if (t.tipo == Token::Cadena)
        return t.nacional ? QStringLiteral("nvarchar") : QStringLiteral("varchar");
    if (t.tipo == Token::Numero)
        return t.texto.contains(QLatin1Char('.')) ? QStringLiteral("numeric")
                                                  : QStringLiteral("int");
    if (t.tipo == Token::Nombre && t.texto.compare(columna, Qt::CaseInsensitive) == 0)
        return QStringLiteral("text");
    return QStringLiteral("varchar");
}

}  // namespace

namespace {

qsizetype saltarBlancos(const QString& lote, qsizetype p) {
    while (p < lote.size() && (lote[p].isSpace() || lote[p] == QLatin1Char(';'))) ++p;
    return p;
}

// The session statement that starts at `p`, moving `p` past it.
std::optional<ParteLote> forma(const QString& lote, qsizetype& p) {
    for (const Forma& f : formas()) {
        const QRegularExpressionMatch m =
            f.re.match(lote, p, QRE::NormalMatch, QRE::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) continue;
        ParteLote parte{f.clase, m.captured(0), {}, {}};
        if (f.clase == ParteLote::Opcion) {
            for (const QString& x : m.captured(1).split(QLatin1Char(',')))
                parte.nombres << x.simplified().toUpper();
            parte.valor = m.captured(2).simplified().toUpper();
        } else if (f.clase == ParteLote::Variables) {
            for (const QString& x : m.captured(1).split(QLatin1Char(',')))
                parte.nombres << x.trimmed().mid(2).toUpper();
        } else if (f.clase == ParteLote::Usar) {
            parte.valor = m.captured(1).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        }
        p = m.capturedEnd();
        return parte;
    }
    return std::nullopt;
}

bool soloSesion(const QString& lote, qsizetype p) {
    for (p = saltarBlancos(lote, p); p < lote.size(); p = saltarBlancos(lote, p))
        if (!forma(lote, p)) return false;
    return true;
}

// Where the program's statement ends: before the session statements that follow it on lines
// of their own (the count it asks for, a COMMIT), outside any quoted text.
qsizetype finDeSentencia(const QString& lote, qsizetype desde) {
    int comillas = 0;
    for (qsizetype k = desde; k < lote.size(); ++k) {
        if (lote[k] == QLatin1Char('\'')) ++comillas;
        const bool corte = lote[k] == QLatin1Char('\n') || lote[k] == QLatin1Char(';');
        if (corte && comillas % 2 == 0 && soloSesion(lote, k + 1)) return k;
    }
    return lote.size();
}

}  // namespace

std::vector<ParteLote> PartirLote(const QString& lote) {
    std::vector<ParteLote> r;
    for (qsizetype p = saltarBlancos(lote, 0); p < lote.size(); p = saltarBlancos(lote, p)) {
        if (std::optional<ParteLote> parte = forma(lote, p)) {
            r.push_back(*parte);
            continue;
        }
        const qsizetype fin = finDeSentencia(lote, p);
        r.push_back({ParteLote::Motor, lote.mid(p, fin - p).trimmed(), {}, {}});
        p = fin;
    }
    return r;
}

bool DevuelveFilas(const QString& sentencia) {
    static const QRE re(QStringLiteral(R"(^\s*\(*\s*(SELECT|WITH)\b)"), QRE::CaseInsensitiveOption);
    return re.match(sentencia).hasMatch();
}

QString Verbo(const QString& sentencia) {
    static const QRE re(QStringLiteral(R"(^\s*(INSERT|UPDATE|DELETE)\b)"),
                        QRE::CaseInsensitiveOption);
    return re.match(sentencia).captured(1).toUpper();
}

std::optional<QString> ValorEscrito(const QString& sentencia, const QString& columna) {
    const std::vector<Token> t = tokens(sentencia);
    auto valor = [&](size_t desde, size_t hasta) -> std::optional<QString> {
        if (hasta != desde + 1) return std::nullopt;
        if (t[desde].tipo == Token::Cadena || t[desde].tipo == Token::Numero) return t[desde].texto;
        return std::nullopt;
    };
    const QString verbo = Verbo(sentencia);
    if (verbo == QLatin1String("INSERT")) {
        size_t abre = 0;
        while (abre < t.size() && !simbolo(t[abre], "(")) ++abre;
        const size_t cierra = cierre(t, abre);
        size_t valores = cierra;
        while (valores < t.size() && !es(t[valores], "VALUES")) ++valores;
        if (valores + 1 >= t.size() || !simbolo(t[valores + 1], "(")) return std::nullopt;
        const auto nombres = lista(t, abre + 1, cierra);
        const auto datos = lista(t, valores + 2, cierre(t, valores + 1));
        for (size_t k = 0; k < nombres.size() && k < datos.size(); ++k) {
            const auto [a, b] = nombres[k];
            if (b == a + 1 && t[a].texto.compare(columna, Qt::CaseInsensitive) == 0)
                return valor(datos[k].first, datos[k].second);
        }
    } else if (verbo == QLatin1String("UPDATE")) {
        size_t set = 0;
        while (set < t.size() && !es(t[set], "SET")) ++set;
        size_t fin = set;
        while (fin < t.size() && !es(t[fin], "WHERE")) ++fin;
        if (set >= t.size()) return std::nullopt;
        for (const auto& [a, b] : lista(t, set + 1, fin))
            if (b > a + 1 && t[a].texto.compare(columna, Qt::CaseInsensitive) == 0 &&
                simbolo(t[a + 1], "="))
                return valor(a + 2, b);
    }
    return std::nullopt;
}

QString NombreEscrito(const QString& sentencia, const QString& tabla) {
    for (const Token& t : tokens(sentencia))
        if (t.tipo == Token::Nombre && t.texto.compare(tabla, Qt::CaseInsensitive) == 0)
            return t.escrito;
    return tabla;
}

std::optional<Comparacion> ComparacionDe(const QString& sentencia, const QString& columna) {
    const std::vector<Token> t = tokens(sentencia);
    // An UPDATE's SET list assigns; its comparisons are in the WHERE.
    size_t asignaDesde = t.size(), asignaHasta = t.size();
    if (Verbo(sentencia) == QLatin1String("UPDATE")) {
        for (size_t k = 0; k < t.size(); ++k)
            if (es(t[k], "SET")) {
                asignaDesde = k;
                break;
            }
        asignaHasta = asignaDesde;
        while (asignaHasta < t.size() && !es(t[asignaHasta], "WHERE")) ++asignaHasta;
    }
    auto operador = [](const Token& o) -> QString {
        if (simbolo(o, "=") || es(o, "IN")) return QStringLiteral("equal to");
        if (simbolo(o, "<>") || simbolo(o, "!=")) return QStringLiteral("not equal to");
        return {};
    };
    for (size_t k = 0; k < t.size(); ++k) {
        if (t[k].tipo != Token::Nombre || t[k].texto.compare(columna, Qt::CaseInsensitive) != 0)
            continue;
        if (k >= asignaDesde && k < asignaHasta) continue;
        size_t siguiente = k + 1;
        if (siguiente < t.size() && es(t[siguiente], "NOT") && siguiente + 1 < t.size() &&
            es(t[siguiente + 1], "IN"))
            ++siguiente;
        if (siguiente < t.size()) {
            const QString op = operador(t[siguiente]);
            if (!op.isEmpty()) {
                size_t otro = siguiente + 1;
                if (es(t[siguiente], "IN") && otro < t.size() && simbolo(t[otro], "(")) ++otro;
                const QString lado =
                    otro < t.size() ? tipoDe(t[otro], columna) : QStringLiteral("varchar");
                return Comparacion{QStringLiteral("text and ") + lado, op};
            }
        }
        if (k >= 2) {
            const QString op = operador(t[k - 1]);
            if (!op.isEmpty() && !es(t[k - 1], "IN"))
                return Comparacion{tipoDe(t[k - 2], columna) + QStringLiteral(" and text"), op};
        }
    }
    return std::nullopt;
}

}  // namespace tds
