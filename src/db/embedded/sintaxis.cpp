#include "db/embedded/sintaxis.h"

#include "db/embedded/analizador.h"

namespace db::incrustado {

bool EsCondicion(const Expresion& e) {
    using T = Expresion::Tipo;
    switch (e.tipo) {
        case T::Comparacion:
        case T::Y:
        case T::O:
        case T::No:
        case T::Como:
        case T::En:
        case T::Entre:
        case T::EsNulo:
        case T::Existe:
            return true;
        default:
            return false;
    }
}

Instruccion Analizador::sentencia() {
    size_t primero = 0;
    while (primero < t_.size() && esSimbolo(t_[primero], ";")) ++primero;
    if (primero == t_.size()) Rechazar(QStringLiteral("el texto está vacío"));
    Instruccion s;
    if (es("SELECT")) {
        s.consulta = select(false);
    } else if (es("INSERT")) {
        insert(s);
    } else if (es("UPDATE")) {
        update(s);
    } else if (es("DELETE")) {
        borrar(s);
    } else if (es("EXEC") || es("EXECUTE")) {
        Rechazar(
            QStringLiteral("los procedimientos almacenados se llaman con parámetros "
                           "(Comando), no en el texto de una sentencia"));
    } else {
        Rechazar(QStringLiteral("solo se admiten SELECT, INSERT, UPDATE y DELETE, no «%1»")
                     .arg(tok().texto));
    }
    const bool conPuntoYComa = sim(";");
    while (sim(";")) ++i_;
    if (tok().tipo != Token::Fin) {
        if (conPuntoYComa)
            Rechazar(
                QStringLiteral("solo se admite una sentencia por texto (hay más después "
                               "del «;»)"));
        inesperado(QStringLiteral("el fin de la sentencia"));
    }
    return s;
}

Expr Analizador::escalar(Expr e) const {
    if (EsCondicion(*e)) Rechazar(QStringLiteral("una condición donde va un valor"));
    return e;
}

Expr Analizador::condicion(Expr e) const {
    if (!EsCondicion(*e)) {
        // A word or symbol the grammar does not know after the value is the fault, not the
        // value (RFC GLOB '*').
        const Token& t = tok();
        if (t.tipo == Token::Palabra && !EsClave(t.texto))
            Rechazar(QStringLiteral("la palabra «%1»").arg(t.texto));
        if (t.tipo == Token::Simbolo && !sim(")") && !sim(";") && !sim(","))
            Rechazar(QStringLiteral("el operador «%1»").arg(t.texto));
        const QString cerca =
            tok().tipo != Token::Fin ? tok().texto : (i_ > 0 ? t_[i_ - 1].texto : QString());
        RechazoDelServidor(4145, {cerca});
    }
    return e;
}

// db.dbo.tabla, alias.columna, db..tabla.
Nombre Analizador::nombre() {
    Nombre n;
    for (;;) {
        const Token& t = tok();
        if (t.tipo == Token::Palabra || t.tipo == Token::Corchete) {
            if (!NombreLibre(t))
                Rechazar(
                    QStringLiteral("la palabra reservada «%1» usada como nombre").arg(t.texto));
            n.partes << t.texto;
            n.corchete.push_back(t.tipo == Token::Corchete);
            ++i_;
        } else if (sim(".") && !n.partes.isEmpty()) {
            n.partes << QString();  // db..tabla: the owner left out
            n.corchete.push_back(false);
        } else {
            Rechazar(QStringLiteral("un nombre incompleto antes de «%1»").arg(t.texto));
        }
        if (!tomarSim(".")) return n;
    }
}

// After INSERT INTO a '(' opens the column list; elsewhere it would be a function returning a
// table, which the server has and SQLite does not.
Nombre Analizador::nombreTabla(bool columnasSiguen) {
    if (sim("(")) Rechazar(QStringLiteral("una subconsulta en FROM (tabla derivada)"));
    Nombre n = nombre();
    if (sim("(") && !columnasSiguen)
        Rechazar(QStringLiteral("la tabla «%1» seguida de «(»").arg(n.escrito()));
    return n;
}

std::unique_ptr<Select> Analizador::select(bool subconsulta) {
    exigir("SELECT");
    auto s = std::make_unique<Select>();
    if (tomar("ALL"))
        s->todos = true;
    else if (tomar("DISTINCT"))
        s->distinto = true;
    if (tomar("TOP")) {
        const bool parentesis = tomarSim("(");
        const Token& n = tok();
        if (n.tipo != Token::Numero || n.texto.contains(QLatin1Char('.')) ||
            n.texto.contains(QLatin1Char('e'), Qt::CaseInsensitive))
            Rechazar(QStringLiteral("TOP con algo que no es un número entero"));
        s->top = n.texto;
        ++i_;
        if (parentesis) exigirSim(")");
        if (es("PERCENT") || es("WITH"))
            Rechazar(QStringLiteral("TOP … %1").arg(tok().texto.toUpper()));
    }
    do s->elementos.push_back(elemento());
    while (tomarSim(","));
    if (es("INTO")) Rechazar(QStringLiteral("SELECT ... INTO"));
    if (tomar("FROM")) origenes(*s);
    if (tomar("WHERE")) s->donde = condicion(expresion());
    if (tomar("GROUP")) {
        exigir("BY");
        do s->grupo.push_back(escalar(expresion()));
        while (tomarSim(","));
    }
    if (tomar("HAVING")) s->teniendo = condicion(expresion());
    if (tomar("ORDER")) {
        exigir("BY");
        do {
            Termino t{escalar(expresion()), QString()};
            if (es("ASC") || es("DESC")) t.sentido = t_[i_++].texto.toUpper();
            s->orden.push_back(std::move(t));
        } while (tomarSim(","));
    }
    if (es("UNION")) Rechazar(QStringLiteral("UNION"));
    if (subconsulta && !s->orden.empty() && s->top.isEmpty()) RechazoDelServidor(1033);
    if (subconsulta && !s->top.isEmpty() && s->orden.empty())
        Rechazar(
            QStringLiteral("TOP sin ORDER BY en una subconsulta (el servidor no dice qué "
                           "filas toma)"));
    return s;
}

Elemento Analizador::elemento() {
    Elemento el;
    if (tomarSim("*")) return el;
    // tabla.* and db.dbo.tabla.*
    size_t k = 0;
    while ((tok(k).tipo == Token::Palabra || tok(k).tipo == Token::Corchete) && sim(".", k + 1))
        k += 2;
    if (k > 0 && sim("*", k)) {
        for (; !sim("*"); i_ += 2) {
            if (!NombreLibre(tok()))
                Rechazar(
                    QStringLiteral("la palabra reservada «%1» usada como nombre").arg(tok().texto));
            el.todoDe.partes << tok().texto;
            el.todoDe.corchete.push_back(tok().tipo == Token::Corchete);
        }
        ++i_;
        return el;
    }
    el.expr = expresion();
    if (el.expr->tipo == Expresion::Tipo::Comparacion)
        Rechazar(QStringLiteral("«%1» en la lista del SELECT (la forma «alias = expresión» de "
                                "T-SQL no se admite; use «expresión AS alias»)")
                     .arg(el.expr->texto));
    el.expr = escalar(std::move(el.expr));
    const bool como = tomar("AS");
    const Token& a = tok();
    if (a.tipo == Token::Cadena || NombreLibre(a)) {
        if (a.tipo != Token::Cadena && sim(".", 1)) Rechazar(QStringLiteral("un alias con puntos"));
        el.alias = a.texto;
        el.conAlias = true;
        el.aliasCorchete = a.tipo == Token::Corchete;
        ++i_;
    } else if (como) {
        Rechazar(QStringLiteral("AS sin alias"));
    }
    return el;
}

void Analizador::origenes(Select& s) {
    s.fuentes.push_back(fuente(Fuente::Union::Primera));
    for (;;) {
        using U = Fuente::Union;
        U u;
        if (tomarSim(",")) {
            s.fuentes.push_back(fuente(U::Coma));
            continue;
        }
        if (tomar("JOIN")) {
            u = U::Interna;
        } else if (tomar("INNER")) {
            exigir("JOIN");
            u = U::Interna;
        } else if (es("LEFT") || es("RIGHT") || es("FULL")) {
            u = es("LEFT") ? U::Izquierda : es("RIGHT") ? U::Derecha : U::Completa;
            ++i_;
            tomar("OUTER");
            exigir("JOIN");
        } else if (tomar("CROSS")) {
            exigir("JOIN");
            u = U::Cruzada;
        } else {
            return;
        }
        Fuente f = fuente(u);
        if (u != U::Cruzada) {
            exigir("ON");
            f.on = condicion(expresion());
        }
        s.fuentes.push_back(std::move(f));
    }
}

Fuente Analizador::fuente(Fuente::Union u) {
    Fuente f;
    f.union_ = u;
    f.nombre = nombreTabla();
    const bool como = tomar("AS");
    if (NombreLibre(tok())) {
        f.alias = tok().texto;
        f.aliasCorchete = tok().tipo == Token::Corchete;
        ++i_;
    } else if (como) {
        Rechazar(QStringLiteral("AS sin alias de tabla"));
    }
    return f;
}

void Analizador::insert(Instruccion& s) {
    s.clase = ClaseSentencia::Insert;
    exigir("INSERT");
    tomar("INTO");  // T-SQL lets it go without INTO
    s.destino.nombre = nombreTabla(true);
    if (tomarSim("(")) {
        do {
            Nombre c = nombre();
            if (c.partes.size() != 1)
                Rechazar(QStringLiteral("la columna «%1» con prefijo").arg(c.escrito()));
            s.columnas.push_back(std::move(c));
        } while (tomarSim(","));
        exigirSim(")");
    }
    if (tomar("VALUES")) {
        do {
            exigirSim("(");
            std::vector<Expr> fila;
            do fila.push_back(escalar(expresion()));
            while (tomarSim(","));
            exigirSim(")");
            s.filas.push_back(std::move(fila));
        } while (tomarSim(","));
    } else if (es("SELECT")) {
        s.consulta = select(false);
    } else {
        inesperado(QStringLiteral("VALUES o SELECT"));
    }
}

void Analizador::update(Instruccion& s) {
    s.clase = ClaseSentencia::Update;
    exigir("UPDATE");
    if (es("TOP")) Rechazar(QStringLiteral("TOP en UPDATE"));
    s.destino.nombre = nombreTabla();
    exigir("SET");
    do {
        Nombre c = nombre();
        if (c.partes.size() > 2)
            Rechazar(QStringLiteral("la columna «%1» en SET").arg(c.escrito()));
        exigirSim("=");
        s.asignaciones.emplace_back(std::move(c), escalar(expresion()));
    } while (tomarSim(","));
    if (es("FROM")) Rechazar(QStringLiteral("UPDATE con FROM"));
    if (tomar("WHERE")) s.donde = condicion(expresion());
}

void Analizador::borrar(Instruccion& s) {
    s.clase = ClaseSentencia::Delete;
    exigir("DELETE");
    if (es("TOP")) Rechazar(QStringLiteral("TOP en DELETE"));
    tomar("FROM");  // T-SQL lets it go without FROM
    s.destino.nombre = nombreTabla();
    if (es("FROM")) Rechazar(QStringLiteral("DELETE con un segundo FROM"));
    if (es("JOIN") || es("INNER") || es("LEFT")) Rechazar(QStringLiteral("JOIN en DELETE"));
    if (tomar("WHERE")) s.donde = condicion(expresion());
}

Instruccion Analizar(std::vector<Token> tokens) {
    return Analizador(std::move(tokens)).sentencia();
}

}  // namespace db::incrustado
