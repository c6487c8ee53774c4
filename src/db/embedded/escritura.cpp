#include "db/embedded/escritura.h"

#include "db/embedded/escritor.h"

namespace db::incrustado {

namespace escritura {

Traduccion Escritor::sentencia(const Instruccion& s) {
    Traduccion r;
    r.clase = s.clase;
    switch (s.clase) {
        case ClaseSentencia::Select:
            r.sql = select(*s.consulta, Contexto::Externa);
            tipos(*s.consulta, r.tipos);
            return r;
        case ClaseSentencia::Insert:
            r.sql = insert(s);
            break;
        case ClaseSentencia::Update: {
            QStringList asignaciones;
            for (size_t k = 0; k < s.asignaciones.size(); ++k)
                asignaciones << s.escritas[k]->nombre + QStringLiteral(" = ") +
                                    asignado(*s.asignaciones[k].second, *s.escritas[k]);
            r.sql = QStringLiteral("UPDATE %1 SET %2")
                        .arg(tablaSqlite(s.destino), asignaciones.join(QStringLiteral(", ")));
            break;
        }
        case ClaseSentencia::Delete:
            r.sql = QStringLiteral("DELETE FROM ") + tablaSqlite(s.destino);
            break;
    }
    if (s.donde) r.sql += QStringLiteral(" WHERE ") + valor(*s.donde, kO);
    r.tabla = s.destino.tabla->nombre;
    r.conIdentidad = s.clase == ClaseSentencia::Insert && s.destino.tabla->tieneIdentidad();
    return r;
}

QString Escritor::insert(const Instruccion& s) {
    QStringList columnas;
    for (const Columna* c : s.escritas) columnas << c->nombre;
    QString r = QStringLiteral("INSERT INTO %1 (%2)")
                    .arg(tablaSqlite(s.destino), columnas.join(QStringLiteral(", ")));
    if (s.consulta) return r + QLatin1Char(' ') + select(*s.consulta, Contexto::Filas);
    QStringList filas;
    for (const std::vector<Expr>& fila : s.filas) {
        QStringList valores;
        for (size_t k = 0; k < fila.size(); ++k) valores << asignado(*fila[k], *s.escritas[k]);
        filas << QLatin1Char('(') + valores.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return r + QStringLiteral(" VALUES ") + filas.join(QStringLiteral(", "));
}

// A value written into a column, converted as the server converts it.
QString Escritor::asignado(const Expresion& v, const Columna& c) {
    Clase clase = Clase::Desconocida;
    if (c.tipo == TipoColumna::Fecha) clase = Clase::Fecha;
    if (c.tipo == TipoColumna::Bit) clase = Clase::Bit;
    if (c.tipo == TipoColumna::Entero) clase = Clase::Entero;
    if (c.tipo == TipoColumna::Decimal || c.tipo == TipoColumna::Real) clase = Clase::Decimal;
    if (v.tipo == T::Cadena) {
        const QString l = literalComo(v, clase, c.nombre, "asignado a");
        return l.isEmpty() ? cadenaSqlite(v.texto) : l;
    }
    // A bit keeps 1 for any number but 0.
    if (clase == Clase::Bit && v.tipo == T::Numero)
        return v.texto.toDouble() != 0 ? QStringLiteral("1") : QStringLiteral("0");
    return valor(v, kO);
}

QString Escritor::select(const Select& s, Contexto contexto) {
    QString r = QStringLiteral("SELECT ");
    if (s.distinto) r += QStringLiteral("DISTINCT ");
    if (s.todos) r += QStringLiteral("ALL ");
    QStringList elementos;
    for (const Elemento& el : s.elementos) {
        if (!el.expr) {
            elementos << (el.todoDe.partes.isEmpty()
                              ? QStringLiteral("*")
                              : nombreSqlite(el.todoDe.ultima(), el.todoDe.corchete.back()) +
                                    QStringLiteral(".*"));
            continue;
        }
        const Texto t = expr(*el.expr);
        QString e = envolver(t, kO);
        // DISTINCT tells texts apart as the server's collation does.
        if (s.distinto && el.expr->clase == Clase::Texto && !esColumna(*el.expr))
            e = envolver(t, kPrimario) + kCotejo;
        if (el.conAlias)
            e += QStringLiteral(" AS ") + nombreSqlite(el.alias, true);
        else if (contexto == Contexto::Externa &&
                 (!esColumna(*el.expr) || el.expr->entreParentesis))
            e += QStringLiteral(" AS \"\"");  // a column without a name has none on the server
        elementos << e;
    }
    r += elementos.join(QStringLiteral(", "));
    if (!s.fuentes.empty()) r += QStringLiteral(" FROM ") + origenes(s.fuentes);
    if (s.donde) r += QStringLiteral(" WHERE ") + valor(*s.donde, kO);
    if (!s.grupo.empty()) {
        QStringList g;
        // Grouped as the server's collation tells texts apart.
        for (const Expr& e : s.grupo)
            g << (e->clase == Clase::Texto && !esColumna(*e)
                      ? envolver(expr(*e), kPrimario) + kCotejo
                      : valor(*e, kO));
        r += QStringLiteral(" GROUP BY ") + g.join(QStringLiteral(", "));
    }
    if (s.teniendo) r += QStringLiteral(" HAVING ") + valor(*s.teniendo, kO);
    if (!s.orden.empty()) {
        QStringList o;
        for (const Termino& t : s.orden) {
            // Texts sort as the server's collation; numbers are not affected by it. A name of
            // the select list goes by its position, the one thing SQLite reads the same way.
            QString x = (t.expr->elemento >= 0 ? QString::number(t.expr->elemento + 1)
                                               : envolver(expr(*t.expr), kPrimario)) +
                        kCotejo;
            if (!t.sentido.isEmpty()) x += QLatin1Char(' ') + t.sentido;
            o << x;
        }
        r += QStringLiteral(" ORDER BY ") + o.join(QStringLiteral(", "));
    }
    if (!s.top.isEmpty()) r += QStringLiteral(" LIMIT ") + s.top;
    // More than one row where one value goes is the server's error 512; SQLite would take
    // the first. Counted over the rows the subquery gives, after its DISTINCT and TOP.
    if (contexto == Contexto::Valor && s.top != QLatin1String("1") && !unaFila(s))
        r = QStringLiteral("SELECT * FROM (%1) ORDER BY una_fila(count(*) OVER ())").arg(r);
    return r;
}

bool Escritor::unaFila(const Select& s) {
    if (!s.grupo.empty()) return false;
    for (const Elemento& el : s.elementos)
        if (el.expr && el.expr->funcion && el.expr->funcion->total) return true;
    return false;
}

QString Escritor::origenes(const std::vector<Fuente>& fuentes) {
    QString r;
    for (const Fuente& f : fuentes) {
        using U = Fuente::Union;
        switch (f.union_) {
            case U::Primera:
                break;
            case U::Coma:
                r += QStringLiteral(", ");
                break;
            case U::Interna:
                r += QStringLiteral(" JOIN ");
                break;
            case U::Izquierda:
                r += QStringLiteral(" LEFT JOIN ");
                break;
            case U::Derecha:
                r += QStringLiteral(" RIGHT JOIN ");
                break;
            case U::Completa:
                r += QStringLiteral(" FULL JOIN ");
                break;
            case U::Cruzada:
                r += QStringLiteral(" CROSS JOIN ");
                break;
        }
        r += tablaSqlite(f);
        if (f.on) r += QStringLiteral(" ON ") + valor(*f.on, kO);
    }
    return r;
}

void Escritor::tipos(const Select& s, QVector<TipoResultado>& r) {
    for (const Elemento& el : s.elementos) {
        if (el.expr)
            r << tipoDe(*el.expr);
        else  // * and tabla.*: their columns declare their own types
            for (int k = 0; k < el.columnas; ++k) r << TipoResultado::Ninguno;
    }
}

// The type of a column SQLite cannot declare: a function call or a CAST that is the whole
// column.
TipoResultado Escritor::tipoDe(const Expresion& e) {
    using R = TipoResultado;
    auto porClase = [](Clase c) {
        switch (c) {
            case Clase::Texto:
                return R::Texto;
            case Clase::Entero:
                return R::Entero;
            case Clase::Fecha:
                return R::Fecha;
            case Clase::Bit:
                return R::Bit;
            default:
                return R::Ninguno;
        }
    };
    if (e.tipo == T::Cast) return e.clase == Clase::Decimal ? R::Ninguno : porClase(e.clase);
    if (e.tipo != T::Funcion) return R::Ninguno;
    if (e.funcion->tipo != R::Ninguno) return e.funcion->tipo;
    const QLatin1String n(e.funcion->nombre);
    if (n == QLatin1String("min") || n == QLatin1String("max")) return porClase(e.clase);
    return e.clase == Clase::Entero ? R::Entero : R::Ninguno;
}

}  // namespace escritura

Traduccion Escribir(const Instruccion& sentencia) {
    return escritura::Escritor().sentencia(sentencia);
}

}  // namespace db::incrustado
