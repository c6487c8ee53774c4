// Conditions and values of the second stage's grammar.
#include <QSet>

#include "db/embedded/analizador.h"

namespace db::incrustado {

namespace {

const QSet<QString>& tiposCast() {
    static const QSet<QString> t = {
        QStringLiteral("char"),    QStringLiteral("nchar"),    QStringLiteral("character"),
        QStringLiteral("varchar"), QStringLiteral("nvarchar"), QStringLiteral("int"),
        QStringLiteral("integer"), QStringLiteral("bigint"),   QStringLiteral("smallint"),
        QStringLiteral("tinyint"), QStringLiteral("numeric"),  QStringLiteral("decimal"),
        QStringLiteral("float"),   QStringLiteral("real"),     QStringLiteral("money")};
    return t;
}

}  // namespace

// Conditions and values in one grammar, by T-SQL's precedence; which is which is checked
// where each is used.
Expr Analizador::expresion() { return logica("OR", Expresion::Tipo::O, &Analizador::conjuncion); }

Expr Analizador::conjuncion() { return logica("AND", Expresion::Tipo::Y, &Analizador::negacion); }

Expr Analizador::logica(const char* palabra, Expresion::Tipo tipo,
                        Expr (Analizador::*siguiente)()) {
    Expr e = (this->*siguiente)();
    if (!es(palabra)) return e;
    Expr r = Nodo(tipo);
    r->hijos.push_back(condicion(std::move(e)));
    while (tomar(palabra)) r->hijos.push_back(condicion((this->*siguiente)()));
    return r;
}

Expr Analizador::negacion() {
    if (!tomar("NOT")) return predicado();
    Expr r = Nodo(Expresion::Tipo::No);
    r->hijos.push_back(condicion(negacion()));
    return r;
}

Expr Analizador::predicado() {
    using T = Expresion::Tipo;
    if (tomar("EXISTS")) {
        Expr r = Nodo(T::Existe);
        exigirSim("(");
        r->consulta = select(true);
        exigirSim(")");
        return r;
    }
    Expr a = suma();
    static const QSet<QString> comparaciones = {
        QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("!="),
        QStringLiteral("<"),  QStringLiteral(">"),  QStringLiteral("<="),
        QStringLiteral(">="), QStringLiteral("!<"), QStringLiteral("!>")};
    if (tok().tipo == Token::Simbolo && comparaciones.contains(tok().texto)) {
        Expr r = Nodo(T::Comparacion, t_[i_++].texto);
        r->hijos.push_back(escalar(std::move(a)));
        r->hijos.push_back(escalar(suma()));
        return r;
    }
    const bool negada = es("NOT") && (es("LIKE", 1) || es("IN", 1) || es("BETWEEN", 1));
    if (negada) ++i_;
    Expr r;
    if (tomar("LIKE")) {
        r = Nodo(T::Como);
        r->hijos.push_back(escalar(std::move(a)));
        r->hijos.push_back(escalar(suma()));
        if (tomar("ESCAPE")) r->hijos.push_back(escalar(suma()));
    } else if (tomar("IN")) {
        r = Nodo(T::En);
        r->hijos.push_back(escalar(std::move(a)));
        exigirSim("(");
        if (es("SELECT")) {
            r->consulta = select(true);
        } else {
            do r->hijos.push_back(escalar(expresion()));
            while (tomarSim(","));
        }
        exigirSim(")");
    } else if (tomar("BETWEEN")) {
        r = Nodo(T::Entre);
        r->hijos.push_back(escalar(std::move(a)));
        r->hijos.push_back(escalar(suma()));
        exigir("AND");
        r->hijos.push_back(escalar(suma()));
    } else if (tomar("IS")) {
        r = Nodo(T::EsNulo);
        r->negada = tomar("NOT");
        exigir("NULL");
        r->hijos.push_back(escalar(std::move(a)));
        return r;
    } else {
        return a;
    }
    r->negada = negada;
    return r;
}

Expr Analizador::suma() { return aritmetica({"+", "-"}, &Analizador::producto); }

Expr Analizador::producto() { return aritmetica({"*", "/", "%"}, &Analizador::unario); }

Expr Analizador::aritmetica(std::initializer_list<const char*> operadores,
                            Expr (Analizador::*siguiente)()) {
    Expr e = (this->*siguiente)();
    for (;;) {
        const char* op = nullptr;
        for (const char* o : operadores)
            if (sim(o)) op = o;
        if (!op) return e;
        ++i_;
        Expr r = Nodo(Expresion::Tipo::Aritmetica, QLatin1String(op));
        r->hijos.push_back(escalar(std::move(e)));
        r->hijos.push_back(escalar((this->*siguiente)()));
        e = std::move(r);
    }
}

Expr Analizador::unario() {
    if (sim("-") || sim("+")) {
        const QString signo = t_[i_++].texto;
        if (signo == QLatin1String("+") && tok().tipo != Token::Numero)
            Rechazar(QStringLiteral("un + sin número"));
        Expr r = Nodo(Expresion::Tipo::Signo, signo);
        r->hijos.push_back(escalar(unario()));
        return r;
    }
    return primario();
}

Expr Analizador::primario() {
    using T = Expresion::Tipo;
    const Token& t = tok();
    switch (t.tipo) {
        case Token::Numero:
            ++i_;
            return Nodo(T::Numero, t.texto);
        case Token::Cadena:
            ++i_;
            return Nodo(T::Cadena, t.texto);
        case Token::Simbolo:
            if (tomarSim("(")) {
                Expr e;
                if (es("SELECT")) {
                    e = Nodo(T::Subconsulta);
                    e->consulta = select(true);
                } else {
                    e = expresion();
                }
                exigirSim(")");
                e->entreParentesis = true;
                return e;
            }
            inesperado(QStringLiteral("un valor"));
        case Token::Palabra: {
            const QString k = t.texto.toUpper();
            if (k == QLatin1String("NULL")) {
                ++i_;
                return Nodo(T::Nulo);
            }
            if (k == QLatin1String("CASE")) return caso();
            if (k == QLatin1String("CAST")) return cast();
            if (k == QLatin1String("DATEDIFF") && sim("(", 1)) return diferenciaFechas();
            if ((k == QLatin1String("LEFT") || k == QLatin1String("RIGHT")) && sim("(", 1))
                Rechazar(QStringLiteral("la función %1()").arg(k));
            if (EsClave(k)) inesperado(QStringLiteral("un valor"));
            if (EsReservada(t.texto)) Rechazar(QStringLiteral("la palabra «%1»").arg(t.texto));
            break;
        }
        case Token::Corchete:
            break;
        case Token::Fin:
            inesperado(QStringLiteral("un valor"));
    }
    Nombre n = nombre();
    if (sim("(")) return funcion(std::move(n));
    Expr c = Nodo(T::Columna);
    c->nombre = std::move(n);
    return c;
}

Expr Analizador::funcion(Nombre n) {
    Expr f = Nodo(Expresion::Tipo::Funcion);
    f->nombre = std::move(n);
    exigirSim("(");
    if (tomarSim("*")) {
        f->todo = true;
    } else if (!sim(")")) {
        if (tomar("DISTINCT"))
            f->distinto = true;
        else
            tomar("ALL");
        do f->hijos.push_back(escalar(expresion()));
        while (tomarSim(","));
    }
    exigirSim(")");
    return f;
}

Expr Analizador::caso() {
    exigir("CASE");
    Expr c = Nodo(Expresion::Tipo::Caso);
    if (!es("WHEN")) c->base = escalar(expresion());
    if (!es("WHEN")) inesperado(QStringLiteral("WHEN"));
    while (tomar("WHEN")) {
        Expr cuando = expresion();
        c->hijos.push_back(c->base ? escalar(std::move(cuando)) : condicion(std::move(cuando)));
        exigir("THEN");
        c->hijos.push_back(escalar(expresion()));
    }
    if (tomar("ELSE")) c->otro = escalar(expresion());
    if (!tomar("END")) Rechazar(QStringLiteral("CASE sin END"));
    return c;
}

// DATEDIFF ( day , desde , hasta ): the unit is a word, not a value, so it is kept in the node's
// text; only days are emulated.
Expr Analizador::diferenciaFechas() {
    Expr f = Nodo(Expresion::Tipo::Funcion, QStringLiteral("day"));
    f->nombre.partes << t_[i_++].texto;
    f->nombre.corchete.push_back(false);
    exigirSim("(");
    static const QSet<QString> dias = {QStringLiteral("day"), QStringLiteral("dd"),
                                       QStringLiteral("d")};
    if (tok().tipo != Token::Palabra || !dias.contains(tok().texto.toLower()))
        Rechazar(QStringLiteral("DATEDIFF por «%1» (solo se emula day)").arg(tok().texto));
    ++i_;
    exigirSim(",");
    f->hijos.push_back(escalar(expresion()));
    exigirSim(",");
    f->hijos.push_back(escalar(expresion()));
    exigirSim(")");
    return f;
}

// CAST ( expresión AS tipo [(n [, s]) | (max)] )
Expr Analizador::cast() {
    exigir("CAST");
    if (!tomarSim("(")) Rechazar(QStringLiteral("CAST sin paréntesis"));
    Expr c = Nodo(Expresion::Tipo::Cast);
    c->hijos.push_back(escalar(expresion()));
    if (!tomar("AS")) Rechazar(QStringLiteral("CAST sin AS"));
    if (tok().tipo != Token::Palabra) Rechazar(QStringLiteral("CAST sin tipo"));
    const QString escrito = t_[i_++].texto;
    c->texto = escrito.toLower();
    if (tomarSim("(")) {
        if (tomar("MAX")) {
            c->largo = QStringLiteral("max");
        } else if (tok().tipo == Token::Numero) {
            c->largo = t_[i_++].texto;
            if (tomarSim(",")) {
                if (tok().tipo != Token::Numero)
                    Rechazar(QStringLiteral("CAST con un tipo mal escrito"));
                c->escala = t_[i_++].texto.toInt();
            }
        } else {
            Rechazar(QStringLiteral("CAST con un largo no numérico"));
        }
        if (!tomarSim(")")) Rechazar(QStringLiteral("CAST con un tipo mal escrito"));
    }
    if (!tomarSim(")")) Rechazar(QStringLiteral("CAST con un tipo mal escrito"));
    const bool texto =
        c->texto.endsWith(QLatin1String("char")) || c->texto == QLatin1String("character");
    const bool decimal =
        c->texto == QLatin1String("numeric") || c->texto == QLatin1String("decimal");
    if (!tiposCast().contains(c->texto) ||
        (c->largo == QLatin1String("max") && c->texto != QLatin1String("varchar") &&
         c->texto != QLatin1String("nvarchar")) ||
        (!c->largo.isEmpty() && !texto && !decimal && c->texto != QLatin1String("float")) ||
        (c->escala >= 0 && !decimal))
        Rechazar(QStringLiteral("CAST a %1%2")
                     .arg(escrito,
                          c->largo.isEmpty() ? QString() : QStringLiteral("(%1)").arg(c->largo)));
    return c;
}

}  // namespace db::incrustado
