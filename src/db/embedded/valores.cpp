// Conditions and values of the last stage, printed with the server's rules on them.
#include <QRegularExpression>

#include "db/embedded/apoyo.h"
#include "db/embedded/escritor.h"
#include "db/embedded/rechazos.h"

namespace db::incrustado::escritura {

QString literalComo(const Expresion& lit, Clase c, const QString& contra, const char* como) {
    const QString v = lit.texto.trimmed();
    switch (c) {
        case Clase::Fecha: {
            const QDateTime f = LeerFecha(lit.texto);
            if (!f.isValid())
                Rechazar(QStringLiteral("«%1» %2 la fecha %3")
                             .arg(lit.texto, QLatin1String(como), contra));
            return cadenaSqlite(TextoFecha(f));
        }
        case Clase::Bit:
            if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                v == QLatin1String("1"))
                return QStringLiteral("1");
            if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                v == QLatin1String("0"))
                return QStringLiteral("0");
            Rechazar(
                QStringLiteral("«%1» %2 el bit %3").arg(lit.texto, QLatin1String(como), contra));
        case Clase::Entero: {
            static const QRegularExpression entero(QStringLiteral("^[+-]?\\d+$"));
            if (v.isEmpty()) return QStringLiteral("0");  // the server reads '' as 0
            if (entero.match(v).hasMatch()) return v;
            Rechazar(
                QStringLiteral("«%1» %2 el número %3").arg(lit.texto, QLatin1String(como), contra));
        }
        case Clase::Decimal: {
            static const QRegularExpression decimal(
                QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
            if (decimal.match(v).hasMatch()) return v;
            Rechazar(
                QStringLiteral("«%1» %2 el número %3").arg(lit.texto, QLatin1String(como), contra));
        }
        default:
            return {};
    }
}

QString Escritor::valor(const Expresion& e, int minimo) { return envolver(expr(e), minimo); }

Texto Escritor::expr(const Expresion& e) {
    switch (e.tipo) {
        case T::Numero:
            return {e.texto, kPrimario};
        case T::Cadena:
            return {cadenaSqlite(e.texto), kPrimario};
        case T::Nulo:
            return {QStringLiteral("NULL"), kPrimario};
        case T::Columna: {
            const QStringList& p = e.nombre.partes;
            QString c = nombreSqlite(p.last(), e.nombre.corchete.back());
            if (p.size() >= 2)
                c = nombreSqlite(p[p.size() - 2], e.nombre.corchete[size_t(p.size() - 2)]) +
                    QLatin1Char('.') + c;
            return {c, kPrimario};
        }
        case T::Funcion:
            return {funcion(e), kPrimario};
        case T::Cast:
            return {cast(e), kPrimario};
        case T::Caso:
            return {caso(e), kPrimario};
        case T::Subconsulta:
            return {QLatin1Char('(') + select(*e.consulta, Contexto::Valor) + QLatin1Char(')'),
                    kPrimario};
        case T::Existe:
            return {QStringLiteral("EXISTS (%1)").arg(select(*e.consulta, Contexto::Filas)),
                    kPrimario};
        case T::Signo:
            if (e.hijos[0]->clase == Clase::Fecha)
                Rechazar(
                    QStringLiteral("aritmética con la fecha %1").arg(descripcion(*e.hijos[0])));
            return {e.texto + numero(*e.hijos[0], Clase::Entero, kPrimario), kUnario};
        case T::Aritmetica:
            return aritmetica(e);
        case T::Comparacion:
            return comparacion(e);
        case T::Y:
        case T::O: {
            const bool y = e.tipo == T::Y;
            QStringList partes;
            for (const Expr& h : e.hijos) partes << valor(*h, y ? kY : kO);
            return {partes.join(y ? QStringLiteral(" AND ") : QStringLiteral(" OR ")), y ? kY : kO};
        }
        case T::No:
            return {QStringLiteral("NOT ") + valor(*e.hijos[0], kNo), kNo};
        case T::Como:
            return como(e);
        case T::En:
            return en(e);
        case T::Entre:
            return entre(e);
        case T::EsNulo:
            return {valor(*e.hijos[0], kSuma) +
                        (e.negada ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL")),
                    kPredicado};
    }
    return {};
}

// A text turned into a number where the server does so (raising its conversion error for a
// text that holds none); anything else as it is.
QString Escritor::numero(const Expresion& e, Clase otra, int minimo) {
    if (e.clase != Clase::Texto) return valor(e, minimo);
    return (otra == Clase::Decimal ? QStringLiteral("a_decimal(") : QStringLiteral("a_entero(")) +
           valor(e, kO) + QLatin1Char(')');
}

Texto Escritor::aritmetica(const Expresion& e) {
    const Expresion& a = *e.hijos[0];
    const Expresion& b = *e.hijos[1];
    const QString& op = e.texto;
    // Date arithmetic counts days on the server and nothing sensible in SQLite.
    for (const Expresion* x : {&a, &b})
        if (x->clase == Clase::Fecha)
            Rechazar(QStringLiteral("aritmética con la fecha %1").arg(descripcion(*x)));
    if (op == QLatin1String("+")) {
        // '+' also joins texts on the server.
        for (const Expresion* x : {&a, &b})
            if (!numerica(x->clase) && x->clase != Clase::Nulo)
                Rechazar(QStringLiteral("el operador + con «%1» (en SQL Server también "
                                        "concatena textos)")
                             .arg(x->tipo == T::Cadena ? x->texto : descripcion(*x)));
    }
    if (op == QLatin1String("%") && (a.clase == Clase::Decimal || b.clase == Clase::Decimal))
        Rechazar(QStringLiteral("el operador % con decimales"));
    const int nivel = op == QLatin1String("+") || op == QLatin1String("-") ? kSuma : kProducto;
    QString izquierda = numero(a, b.clase, nivel);
    QString derecha = numero(b, a.clase, nivel + 1);
    if (op == QLatin1String("/") || op == QLatin1String("%")) {
        // A DECIMAL value with no fraction is stored as an integer: the division stays
        // decimal, as on the server; between integers it stays integer, as on the server.
        if (op == QLatin1String("/") && (a.clase == Clase::Decimal || b.clase == Clase::Decimal) &&
            !(a.tipo == T::Numero && a.clase == Clase::Decimal))
            izquierda = QStringLiteral("CAST(%1 AS REAL)").arg(numero(a, b.clase, kO));
        // Dividing by zero is the server's error 8134; SQLite would give NULL.
        if (!(b.tipo == T::Numero && b.texto.toDouble() != 0))
            derecha = QStringLiteral("divisor(%1)").arg(numero(b, a.clase, kO));
    }
    return {izquierda + QLatin1Char(' ') + op + QLatin1Char(' ') + derecha, nivel};
}

// One side of a comparison as the server compares it with the other side. `cotejo` tells
// whether it carries the collation already.
QString Escritor::lado(const Expresion& x, const Expresion& otro, bool& cotejo, bool& convertido) {
    if (x.tipo == T::Cadena) {
        const QString l = literalComo(x, otro.clase, descripcion(otro), "comparado con");
        if (!l.isEmpty()) {
            convertido = true;
            return l;
        }
        cotejo = true;
        return cadenaSqlite(x.texto) + kCotejo;
    }
    if (x.clase == Clase::Fecha && numeroSinAfinidad(otro))
        Rechazar(QStringLiteral("la fecha %1 comparada con un número").arg(descripcion(x)));
    // A text column holding a number compared with a bare number compares numbers, as the
    // server converts the text; joins between text and number columns already do.
    if (x.clase == Clase::Texto && numeroSinAfinidad(otro)) {
        convertido = true;
        return numero(x, otro.clase, kSuma);
    }
    return valor(x, kSuma);
}

Texto Escritor::comparacion(const Expresion& e) {
    const Expresion& a = *e.hijos[0];
    const Expresion& b = *e.hijos[1];
    bool cotejo = false, convertido = false;
    QString izquierda = lado(a, b, cotejo, convertido);
    QString derecha = lado(b, a, cotejo, convertido);
    // Texts that carry no collation (function results) compare as the server's too.
    if (!cotejo && !convertido && !esColumna(a) && !esColumna(b) &&
        (a.clase == Clase::Texto || b.clase == Clase::Texto))
        derecha = envolver(expr(b), kPrimario) + kCotejo;
    QString op = e.texto;
    if (op == QLatin1String("!<")) op = QStringLiteral(">=");
    if (op == QLatin1String("!>")) op = QStringLiteral("<=");
    return {izquierda + QLatin1Char(' ') + op + QLatin1Char(' ') + derecha, kPredicado};
}

// The subject of IN, BETWEEN or a simple CASE against its values: a text turned into a number
// when a value is one, and the collation on it when it has none of its own.
QString Escritor::sujeto(const Expresion& s, const std::vector<const Expresion*>& valores,
                         Clase& clase) {
    clase = s.clase;
    for (const Expresion* v : valores) {
        if (s.clase == Clase::Fecha && numeroSinAfinidad(*v))
            Rechazar(QStringLiteral("la fecha %1 comparada con un número").arg(descripcion(s)));
        if (s.clase == Clase::Texto && numeroSinAfinidad(*v))
            clase = clase == Clase::Decimal || v->clase == Clase::Decimal ? Clase::Decimal
                                                                          : Clase::Entero;
    }
    if (clase != s.clase) return numero(s, clase, kSuma);
    if (s.tipo == T::Cadena || (s.clase == Clase::Texto && !esColumna(s)))
        return valor(s, kPrimario) + kCotejo;
    return valor(s, kSuma);
}

QString Escritor::valorContra(const Expresion& v, Clase clase, const Expresion& s) {
    if (v.tipo != T::Cadena) return valor(v, kSuma);
    const QString l = literalComo(v, clase, descripcion(s), "comparado con");
    return l.isEmpty() ? cadenaSqlite(v.texto) + kCotejo : l;
}

// A value of IN's list or a simple CASE's WHEN: compared under the subject's collation alone.
QString Escritor::deLista(const Expresion& v, Clase clase, const Expresion& s) {
    if (v.tipo == T::Cadena && clase == Clase::Texto) return cadenaSqlite(v.texto);
    return v.tipo == T::Cadena ? valorContra(v, clase, s) : valor(v, kO);
}

Texto Escritor::en(const Expresion& e) {
    const Expresion& s = *e.hijos[0];
    std::vector<const Expresion*> valores;
    for (size_t k = 1; k < e.hijos.size(); ++k) valores.push_back(e.hijos[k].get());
    Clase clase;
    QString r = sujeto(s, valores, clase) +
                (e.negada ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN ("));
    if (e.consulta) {
        r += select(*e.consulta, Contexto::Filas);
    } else {
        QStringList v;
        for (const Expresion* x : valores) v << deLista(*x, clase, s);
        r += v.join(QStringLiteral(", "));
    }
    return {r + QLatin1Char(')'), kPredicado};
}

Texto Escritor::entre(const Expresion& e) {
    const Expresion& s = *e.hijos[0];
    Clase clase;
    const QString r = sujeto(s, {e.hijos[1].get(), e.hijos[2].get()}, clase);
    return {r + (e.negada ? QStringLiteral(" NOT BETWEEN ") : QStringLiteral(" BETWEEN ")) +
                valorContra(*e.hijos[1], clase, s) + QStringLiteral(" AND ") +
                valorContra(*e.hijos[2], clase, s),
            kPredicado};
}

Texto Escritor::como(const Expresion& e) {
    const Expresion& s = *e.hijos[0];
    const Expresion& p = *e.hijos[1];
    if (s.clase == Clase::Fecha || s.clase == Clase::Decimal)
        Rechazar(QStringLiteral("LIKE con %1, que el servidor escribe de otra forma")
                     .arg(descripcion(s)));
    // A text column LIKE a pattern without wildcards matches exactly what = matches under the
    // collation: case and accented case folded, the value's trailing blanks ignored, and then
    // it is answered through the column's index. A pattern that ends in blanks asks for them,
    // which = would not, so it stays a LIKE; so does a LIKE with ESCAPE.
    if (!e.negada && e.hijos.size() == 2 && esColumna(s) && s.clase == Clase::Texto &&
        p.tipo == T::Cadena && !p.texto.endsWith(QLatin1Char(' ')) &&
        !p.texto.contains(QLatin1Char('%')) && !p.texto.contains(QLatin1Char('_')) &&
        !p.texto.contains(QLatin1Char('[')))
        return {valor(s, kSuma) + QStringLiteral(" = ") + cadenaSqlite(p.texto) + kCotejo,
                kPredicado};
    QString r = valor(s, kSuma) +
                (e.negada ? QStringLiteral(" NOT LIKE ") : QStringLiteral(" LIKE ")) +
                valor(p, kSuma);
    if (e.hijos.size() == 3) r += QStringLiteral(" ESCAPE ") + valor(*e.hijos[2], kSuma);
    return {r, kPredicado};
}

QString Escritor::caso(const Expresion& e) {
    QString r = QStringLiteral("CASE");
    Clase clase = Clase::Desconocida;
    if (e.base) {
        std::vector<const Expresion*> valores;
        for (size_t k = 0; k < e.hijos.size(); k += 2) valores.push_back(e.hijos[k].get());
        r += QLatin1Char(' ') + sujeto(*e.base, valores, clase);
    }
    for (size_t k = 0; k + 1 < e.hijos.size(); k += 2) {
        const Expresion& cuando = *e.hijos[k];
        r += QStringLiteral(" WHEN ") +
             (e.base ? deLista(cuando, clase, *e.base) : valor(cuando, kO)) +
             QStringLiteral(" THEN ") + valor(*e.hijos[k + 1], kO);
    }
    if (e.otro) r += QStringLiteral(" ELSE ") + valor(*e.otro, kO);
    return r + QStringLiteral(" END");
}

QString Escritor::funcion(const Expresion& e) {
    const FuncionSql& f = *e.funcion;
    const QLatin1String n(f.nombre);
    if (n == QLatin1String("getdate")) return kGetdate;
    if (n == QLatin1String("datediff")) return diferenciaDias(e);
    if (e.todo) return QStringLiteral("count(*)");
    QStringList args;
    for (const Expr& a : e.hijos) {
        // MIN, MAX and DISTINCT tell texts apart as the server's collation does.
        const bool cotejar = f.total && (n != QLatin1String("count") || e.distinto) &&
                             a->clase == Clase::Texto && !esColumna(*a);
        args << (cotejar ? valor(*a, kPrimario) + kCotejo : valor(*a, kO));
    }
    QString r = QLatin1String(f.destino) + QLatin1Char('(') +
                (e.distinto ? QStringLiteral("DISTINCT ") : QString()) +
                args.join(QStringLiteral(", ")) + QLatin1Char(')');
    // AVG of integers is an integer on the server.
    if (n == QLatin1String("avg") && e.clase == Clase::Entero)
        r = QStringLiteral("CAST(%1 AS INTEGER)").arg(r);
    return r;
}

// DATEDIFF(day, a, b) counts the midnights from a to b, as the server does.
QString Escritor::diferenciaDias(const Expresion& e) {
    auto dia = [this](const Expresion& x) {
        if (x.clase == Clase::Nulo) return QStringLiteral("NULL");
        if (x.tipo == T::Cadena) {
            if (!LeerFecha(x.texto).isValid())
                Rechazar(QStringLiteral("«%1» como fecha de DATEDIFF").arg(x.texto));
            return QStringLiteral("date(%1)").arg(literalComo(x, Clase::Fecha, {}, ""));
        }
        if (x.clase != Clase::Fecha)
            Rechazar(QStringLiteral("DATEDIFF de %1, que no es una fecha").arg(descripcion(x)));
        return QStringLiteral("date(%1)").arg(valor(x, kO));
    };
    return QStringLiteral("CAST(julianday(%2) - julianday(%1) AS INTEGER)")
        .arg(dia(*e.hijos[0]), dia(*e.hijos[1]));
}

QString Escritor::cast(const Expresion& e) {
    const Expresion& x = *e.hijos[0];
    const QString& t = e.texto;
    if (e.largo == QLatin1String("max"))
        return QLatin1Char('(') + valor(x, kO) + QLatin1Char(')');  // the whole text
    // Without a length the server converts to 30 characters.
    const QString n = e.largo.isEmpty() ? QStringLiteral("30") : e.largo;
    if (t == QLatin1String("char") || t == QLatin1String("nchar") ||
        t == QLatin1String("character"))
        return QStringLiteral("cast_char(%1, %2)").arg(valor(x, kO), n);
    if (t == QLatin1String("varchar") || t == QLatin1String("nvarchar"))
        return QStringLiteral("cast_varchar(%1, %2)").arg(valor(x, kO), n);
    if (e.clase == Clase::Entero)
        return x.clase == Clase::Texto ? numero(x, Clase::Entero, kO)
                                       : QStringLiteral("CAST(%1 AS INTEGER)").arg(valor(x, kO));
    const QString real = x.clase == Clase::Texto
                             ? numero(x, Clase::Decimal, kO)
                             : QStringLiteral("CAST(%1 AS REAL)").arg(valor(x, kO));
    // numeric and decimal round to their scale (0 when not given), money to 4 places.
    if (t == QLatin1String("numeric") || t == QLatin1String("decimal"))
        return QStringLiteral("round(%1, %2)").arg(real).arg(qMax(e.escala, 0));
    if (t == QLatin1String("money")) return QStringLiteral("round(%1, 4)").arg(real);
    return real;
}

}  // namespace db::incrustado::escritura
