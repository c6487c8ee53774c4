#include "db/embedded/nombres.h"

#include <QSet>

#include "db/embedded/esquema.h"
#include "db/embedded/rechazos.h"

namespace db::incrustado {

namespace {

using T = Expresion::Tipo;

// The schema's scalar functions (called with their owner, in their database) and the server's
// built-ins that the statements use.
const std::vector<FuncionSql>& funciones() {
    using R = TipoResultado;
    static const std::vector<FuncionSql> f = {
        {"nombre_persona", "nombre_persona", "main", R::Texto, 1, 1, false},
        {"nombre_cliente", "nombre_cliente", "main", R::Texto, 1, 1, false},
        {"nombre_sucursal", "nombre_sucursal", "main", R::Texto, 1, 1, false},
        {"domicilio_cliente", "domicilio_cliente", "main", R::Texto, 1, 1, false},
        {"fecha", "fecha", "main", R::Fecha, 2, 2, false},
        {"fecha_corta", "fecha_corta", "main", R::Texto, 1, 1, false},
        {"alltrim", "alltrim", "main", R::Texto, 1, 1, false},
        {"cliente_credito", "cliente_credito", "norv", R::Entero, 1, 1, false},
        {"cliente_incobrable", "cliente_incobrable", "norv", R::Bit, 1, 1, false},
        {"getdate", "", nullptr, R::Fecha, 0, 0, false},
        {"datediff", "", nullptr, R::Entero, 2, 2, false},
        {"count", "count", nullptr, R::Entero, 1, 1, true},
        {"sum", "sum", nullptr, R::Ninguno, 1, 1, true},
        {"min", "min", nullptr, R::Ninguno, 1, 1, true},
        {"max", "max", nullptr, R::Ninguno, 1, 1, true},
        {"avg", "avg", nullptr, R::Ninguno, 1, 1, true},
        {"upper", "upper", nullptr, R::Texto, 1, 1, false},
        {"lower", "lower", nullptr, R::Texto, 1, 1, false},
        {"ltrim", "ltrim", nullptr, R::Texto, 1, 1, false},
        {"rtrim", "rtrim", nullptr, R::Texto, 1, 1, false}};
    return f;
}

bool igual(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString nombreBase(const QString& base) {
    return base == QLatin1String("norv") ? QStringLiteral("norv") : QStringLiteral("erp_oxa");
}

Clase claseDe(TipoColumna t) {
    switch (t) {
        case TipoColumna::Texto:
        case TipoColumna::Caracter:
            return Clase::Texto;
        case TipoColumna::Entero:
        case TipoColumna::Identidad:
            return Clase::Entero;
        case TipoColumna::Decimal:
        case TipoColumna::Real:
            return Clase::Decimal;
        case TipoColumna::Fecha:
            return Clase::Fecha;
        case TipoColumna::Bit:
            return Clase::Bit;
    }
    return Clase::Desconocida;
}

// The name the server gives the type in its messages.
QString nombreTipo(Clase c) {
    switch (c) {
        case Clase::Texto:
            return QStringLiteral("varchar");
        case Clase::Fecha:
            return QStringLiteral("datetime");
        case Clase::Bit:
            return QStringLiteral("bit");
        default:
            return QStringLiteral("NULL");
    }
}

QString expuesto(const Fuente& f) { return f.alias.isEmpty() ? f.nombre.ultima() : f.alias; }

bool contieneTotal(const Expresion& e) {
    if (e.funcion && e.funcion->total) return true;
    for (const Expr& h : e.hijos)
        if (contieneTotal(*h)) return true;
    return (e.base && contieneTotal(*e.base)) || (e.otro && contieneTotal(*e.otro));
}

bool contieneSubconsulta(const Expresion& e) {
    if (e.consulta) return true;
    for (const Expr& h : e.hijos)
        if (contieneSubconsulta(*h)) return true;
    return (e.base && contieneSubconsulta(*e.base)) || (e.otro && contieneSubconsulta(*e.otro));
}

bool constante(const Expresion& e) {
    if (e.tipo == T::Columna || e.consulta) return false;
    for (const Expr& h : e.hijos)
        if (!constante(*h)) return false;
    return (!e.base || constante(*e.base)) && (!e.otro || constante(*e.otro));
}

// The same expression written twice compares equal: how the server matches a select item with
// a GROUP BY term.
QString clave(const Expresion& e) {
    QString k = QString::number(int(e.tipo)) + QLatin1Char(':') + e.texto.toLower();
    if (e.columna)
        k += QLatin1Char('@') + QString::number(quintptr(e.fuente)) + QLatin1Char('.') +
             e.columna->nombre;
    if (e.funcion) k += QLatin1Char('@') + QLatin1String(e.funcion->nombre);
    if (e.consulta) k += QLatin1Char('#') + QString::number(quintptr(e.consulta.get()));
    if (e.negada) k += QLatin1Char('!');
    if (e.distinto || e.todo) k += QLatin1Char('*');
    for (const Expresion* h : {e.base.get(), e.otro.get()})
        k += h ? QLatin1Char('(') + clave(*h) + QLatin1Char(')') : QStringLiteral("()");
    for (const Expr& h : e.hijos) k += QLatin1Char('(') + clave(*h) + QLatin1Char(')');
    return k;
}

// Where an expression stands, for the server's rules on names and totals.
enum class Lugar { Lista, Condicion, Grupo, Orden, Set, Valores };

struct Ambito {
    const Ambito* exterior = nullptr;
    std::vector<const Fuente*> fuentes;
};

class Resolutor {
  public:
    void sentencia(Instruccion& s) {
        switch (s.clase) {
            case ClaseSentencia::Select:
                select(*s.consulta, nullptr, false);
                return;
            case ClaseSentencia::Insert:
                insert(s);
                return;
            case ClaseSentencia::Update:
                update(s);
                return;
            case ClaseSentencia::Delete:
                tabla(s.destino);
                if (s.donde) {
                    const Ambito a{nullptr, {&s.destino}};
                    condicion(*s.donde, a);
                }
                return;
        }
    }

  private:
    // Unprefixed objects live in the connection's database, erp_oxa.
    void tabla(Fuente& f) {
        const QStringList& p = f.nombre.partes;
        QString base = QStringLiteral("main");
        auto dbo = [](const QString& d) {
            if (!d.isEmpty() && !igual(d, QStringLiteral("dbo")))
                Rechazar(QStringLiteral("el esquema «%1» (solo existe dbo)").arg(d));
        };
        if (p.size() == 2) {
            dbo(p[0]);
        } else if (p.size() == 3) {
            if (igual(p[0], QStringLiteral("norv")))
                base = QStringLiteral("norv");
            else if (!igual(p[0], QStringLiteral("erp_oxa")))
                Rechazar(QStringLiteral("la base de datos «%1» (solo existen erp_oxa y norv)")
                             .arg(p[0]));
            dbo(p[1]);
        } else if (p.size() > 3) {
            Rechazar(QStringLiteral("el nombre de tabla «%1»").arg(f.nombre.escrito()));
        }
        if (p.last().isEmpty()) Rechazar(QStringLiteral("un nombre de tabla vacío"));
        const Tabla* t = BuscarTabla(p.last());
        if (!t || t->base != base) RechazoDelServidor(208, {f.nombre.escrito()});
        f.tabla = t;
        f.base = base;
    }

    // unValor: a subquery that gives one value (or a list for IN), not an EXISTS's.
    void select(Select& s, const Ambito* exterior, bool unValor) {
        Ambito a{exterior, {}};
        for (Fuente& f : s.fuentes) {
            tabla(f);
            for (const Fuente* otra : a.fuentes)
                if (igual(expuesto(*otra), expuesto(f)))
                    RechazoDelServidor(
                        1013, {otra->alias.isEmpty() ? otra->nombre.escrito() : otra->alias,
                               f.alias.isEmpty() ? f.nombre.escrito() : f.alias});
            a.fuentes.push_back(&f);
            // The ON of a join sees the tables joined so far.
            if (f.on) condicion(*f.on, a);
        }
        for (Elemento& el : s.elementos) {
            if (el.expr) {
                expresion(*el.expr, a, Lugar::Lista);
                s.clases.push_back(el.expr->clase);
                s.nombres.push_back(el.conAlias                   ? el.alias
                                    : el.expr->tipo == T::Columna ? el.expr->nombre.ultima()
                                                                  : QString());
                continue;
            }
            el.columnas = 0;
            porColumna(el, a, [&](const Fuente&, const Columna& c) {
                ++el.columnas;
                s.clases.push_back(claseDe(c.tipo));
                s.nombres.push_back(c.nombre);
            });
            if (el.columnas == 0 && el.todoDe.partes.isEmpty()) RechazoDelServidor(263);
            if (el.columnas == 0) RechazoDelServidor(107, {el.todoDe.escrito()});
        }
        if (unValor && s.clases.size() != 1) RechazoDelServidor(116);
        if (s.donde) condicion(*s.donde, a);
        QSet<QString> grupo;
        for (Expr& g : s.grupo) {
            expresion(*g, a, Lugar::Grupo);
            if (contieneSubconsulta(*g)) RechazoDelServidor(144);
            if (constante(*g)) RechazoDelServidor(164);
            grupo.insert(clave(*g));
        }
        if (s.teniendo) expresion(*s.teniendo, a, Lugar::Lista);
        // How each column of the list compares, * and tabla.* counted out.
        std::vector<QString> columnas;
        for (const Elemento& el : s.elementos) {
            if (el.expr)
                columnas.push_back(clave(*el.expr));
            else
                porColumna(el, a, [&](const Fuente& f, const Columna& c) {
                    columnas.push_back(clave(*columnaDe(f, c)));
                });
        }
        for (size_t k = 0; k < s.orden.size(); ++k)
            orden(s, a, *s.orden[k].expr, int(k) + 1, columnas);

        // Grouped, or with a total in the select list (one row of totals), every column
        // outside a total must be one the rows are grouped by.
        bool conTotal = false;
        for (const Elemento& el : s.elementos)
            conTotal = conTotal || (el.expr && contieneTotal(*el.expr));
        if (s.grupo.empty() && !s.teniendo && !conTotal) return;
        for (const Elemento& el : s.elementos) {
            if (el.expr)
                agrupada(*el.expr, grupo, "the select list");
            else
                porColumna(el, a, [&](const Fuente& f, const Columna& c) {
                    agrupada(*columnaDe(f, c), grupo, "the select list");
                });
        }
        if (s.teniendo) agrupada(*s.teniendo, grupo, "the HAVING clause");
        for (const Termino& t : s.orden)
            if (t.expr->elemento < 0) agrupada(*t.expr, grupo, "the ORDER BY clause");
    }

    // Each column that * or tabla.* stands for.
    template <typename F>
    void porColumna(const Elemento& el, const Ambito& a, F&& f) const {
        for (const Fuente* fuente : a.fuentes)
            if (el.todoDe.partes.isEmpty() || deNombre(*fuente, el.todoDe))
                for (const Columna& c : fuente->tabla->columnas) f(*fuente, c);
    }

    static Expr columnaDe(const Fuente& f, const Columna& c) {
        Expr e = std::make_unique<Expresion>(T::Columna);
        e->columna = &c;
        e->fuente = &f;
        return e;
    }

    bool deNombre(const Fuente& f, const Nombre& n) const {
        if (n.partes.size() == 1) return igual(expuesto(f), n.ultima());
        // db.dbo.tabla.*: the table itself, never through an alias.
        return f.alias.isEmpty() && igual(f.nombre.ultima(), n.ultima());
    }

    void orden(Select& s, const Ambito& a, Expresion& e, int posicion,
               const std::vector<QString>& columnas) {
        if (e.tipo == T::Numero && !e.texto.contains(QLatin1Char('.'))) {
            const long long n = e.texto.toLongLong();
            if (n < 1 || n > static_cast<long long>(s.clases.size()))
                RechazoDelServidor(108, {e.texto});
            e.elemento = int(n - 1);
            e.clase = s.clases[size_t(n - 1)];
            return;
        }
        if (constante(e)) RechazoDelServidor(408, {QString::number(posicion)});
        // A bare name is first the select list's own (its alias or column).
        if (e.tipo == T::Columna && e.nombre.partes.size() == 1) {
            for (size_t k = 0; k < s.nombres.size(); ++k) {
                if (!igual(s.nombres[k], e.nombre.ultima())) continue;
                if (e.elemento >= 0 && columnas[k] != columnas[size_t(e.elemento)])
                    RechazoDelServidor(209, {e.nombre.ultima()});
                if (e.elemento < 0) e.elemento = int(k);
            }
            if (e.elemento >= 0) {
                e.clase = s.clases[size_t(e.elemento)];
                return;
            }
        }
        expresion(e, a, Lugar::Orden);
        if (!s.distinto) return;
        const QString k = clave(e);
        for (const Elemento& el : s.elementos) {
            if (el.expr && clave(*el.expr) == k) return;
            if (!el.expr && e.fuente &&
                (el.todoDe.partes.isEmpty() || deNombre(*e.fuente, el.todoDe)))
                return;
        }
        RechazoDelServidor(145);
    }

    void agrupada(const Expresion& e, const QSet<QString>& grupo, const char* donde) const {
        if (grupo.contains(clave(e)) || (e.funcion && e.funcion->total) || e.consulta) return;
        if (e.tipo == T::Columna) {
            if (e.exterior) return;
            RechazoDelServidor(8120,
                               {expuesto(*e.fuente), e.columna->nombre, QLatin1String(donde)});
        }
        for (const Expr& h : e.hijos) agrupada(*h, grupo, donde);
        if (e.base) agrupada(*e.base, grupo, donde);
        if (e.otro) agrupada(*e.otro, grupo, donde);
    }

    void condicion(Expresion& e, const Ambito& a) {
        expresion(e, a, Lugar::Condicion);
        if (contieneTotal(e)) RechazoDelServidor(147);
    }

    void expresion(Expresion& e, const Ambito& a, Lugar lugar) {
        for (Expr& h : e.hijos) expresion(*h, a, lugar);
        if (e.base) expresion(*e.base, a, lugar);
        if (e.otro) expresion(*e.otro, a, lugar);
        if (e.consulta) select(*e.consulta, &a, e.tipo != T::Existe);
        switch (e.tipo) {
            case T::Numero:
                e.clase = e.texto.contains(QLatin1Char('.')) ||
                                  e.texto.contains(QLatin1Char('e'), Qt::CaseInsensitive)
                              ? Clase::Decimal
                              : Clase::Entero;
                return;
            case T::Cadena:
                e.clase = Clase::Texto;
                return;
            case T::Nulo:
                e.clase = Clase::Nulo;
                return;
            case T::Columna:
                columna(e, a, lugar);
                return;
            case T::Funcion:
                funcion(e, lugar);
                return;
            case T::Cast:
                e.clase = e.texto.contains(QLatin1String("char"))  ? Clase::Texto
                          : e.texto.contains(QLatin1String("int")) ? Clase::Entero
                                                                   : Clase::Decimal;
                return;
            case T::Caso:
                for (size_t k = 1; k < e.hijos.size() && e.clase == Clase::Desconocida; k += 2)
                    if (e.hijos[k]->clase != Clase::Nulo) e.clase = e.hijos[k]->clase;
                if (e.clase == Clase::Desconocida && e.otro) e.clase = e.otro->clase;
                return;
            case T::Subconsulta:
                e.clase = e.consulta->clases.front();
                return;
            case T::Signo:
                e.clase = e.hijos[0]->clase;
                return;
            case T::Aritmetica: {
                const Clase x = e.hijos[0]->clase, y = e.hijos[1]->clase;
                if (x == Clase::Nulo || y == Clase::Nulo)
                    e.clase = x == Clase::Nulo ? y : x;
                else if (x == Clase::Decimal || y == Clase::Decimal)
                    e.clase = Clase::Decimal;
                else if (x == y)
                    e.clase = x == Clase::Bit ? Clase::Entero : x;
                else if ((x == Clase::Entero || x == Clase::Bit) &&
                         (y == Clase::Entero || y == Clase::Bit))
                    e.clase = Clase::Entero;
                return;
            }
            default:
                e.clase = Clase::Condicion;
                return;
        }
    }

    void columna(Expresion& e, const Ambito& a, Lugar lugar) {
        const QStringList& p = e.nombre.partes;
        if (lugar == Lugar::Valores) RechazoDelServidor(128, {e.nombre.escrito()});
        if (p.size() > 4) Rechazar(QStringLiteral("el nombre «%1»").arg(e.nombre.escrito()));
        if (p.size() > 2) {
            const QString& dueno = p[p.size() - 3];
            if (!dueno.isEmpty() && !igual(dueno, QStringLiteral("dbo")))
                Rechazar(QStringLiteral("el nombre «%1»").arg(e.nombre.escrito()));
            if (p.size() == 4 && !igual(p[0], QStringLiteral("erp_oxa")) &&
                !igual(p[0], QStringLiteral("norv")))
                Rechazar(QStringLiteral("la base de datos «%1»").arg(p[0]));
        }
        const QString& col = p.last();
        for (const Ambito* x = &a; x; x = x->exterior) {
            const Fuente* hallada = nullptr;
            for (const Fuente* f : x->fuentes) {
                if (p.size() == 1) {
                    if (!f->tabla->columna(col)) continue;
                    if (hallada) RechazoDelServidor(209, {col});
                    hallada = f;
                } else if (p.size() == 2
                               ? igual(expuesto(*f), p[0])
                               : f->alias.isEmpty() && igual(f->nombre.ultima(), p[p.size() - 2]) &&
                                     (p.size() == 3 || igual(nombreBase(f->base), p[0]))) {
                    hallada = f;
                    break;
                }
            }
            if (!hallada) continue;
            e.columna = hallada->tabla->columna(col);
            if (!e.columna) RechazoDelServidor(207, {col});
            e.fuente = hallada;
            e.exterior = x != &a;
            e.clase = claseDe(e.columna->tipo);
            return;
        }
        if (p.size() == 1) RechazoDelServidor(207, {col});
        RechazoDelServidor(4104, {e.nombre.escrito()});
    }

    void funcion(Expresion& e, Lugar lugar) {
        const Nombre& n = e.nombre;
        const QString nombre = n.ultima().toLower();
        const FuncionSql* f = nullptr;
        for (const FuncionSql& x : funciones())
            if (nombre == QLatin1String(x.nombre)) f = &x;
        if (!f)
            Rechazar(QStringLiteral("la función «%1» (no está entre las que emula el motor)")
                         .arg(n.escrito()));
        const qsizetype prefijos = n.partes.size() - 1;
        if (!f->base) {
            if (prefijos != 0)
                Rechazar(QStringLiteral("la función del sistema «%1» con dueño").arg(n.escrito()));
        } else {
            if (prefijos == 0)
                Rechazar(QStringLiteral("la función «%1» sin su dueño (escriba dbo.%1)")
                             .arg(n.ultima()));
            if (prefijos > 2 || !igual(n.partes[prefijos - 1], QStringLiteral("dbo")))
                Rechazar(QStringLiteral("el dueño de la función «%1»").arg(n.escrito()));
            QString base = QStringLiteral("main");
            if (prefijos == 2) {
                if (igual(n.partes[0], QStringLiteral("norv")))
                    base = QStringLiteral("norv");
                else if (!igual(n.partes[0], QStringLiteral("erp_oxa")))
                    Rechazar(QStringLiteral("la base de datos «%1»").arg(n.partes[0]));
            }
            if (base != QLatin1String(f->base))
                Rechazar(
                    QStringLiteral("la función «%1», que está en %2 y no en %3")
                        .arg(n.escrito(), nombreBase(QLatin1String(f->base)), nombreBase(base)));
        }
        if (e.todo && nombre != QLatin1String("count"))
            Rechazar(QStringLiteral("«*» como argumento de %1").arg(n.ultima()));
        if (e.distinto && !f->total)
            Rechazar(QStringLiteral("DISTINCT en los argumentos de %1").arg(n.ultima()));
        const int argumentos = e.todo ? 1 : int(e.hijos.size());
        if (!f->base && (argumentos < f->minimo || argumentos > f->maximo))
            RechazoDelServidor(174, {nombre, QString::number(f->minimo)});
        if (f->base && argumentos < f->minimo) RechazoDelServidor(313, {n.escrito()});
        if (f->base && argumentos > f->maximo) RechazoDelServidor(8144, {n.escrito()});
        e.funcion = f;
        if (f->total) {
            for (const Expr& h : e.hijos)
                if (contieneTotal(*h) || contieneSubconsulta(*h)) RechazoDelServidor(130);
            if (lugar == Lugar::Grupo) RechazoDelServidor(144);
            if (lugar == Lugar::Set) RechazoDelServidor(157);
        }
        switch (f->tipo) {
            case TipoResultado::Texto:
                e.clase = Clase::Texto;
                return;
            case TipoResultado::Entero:
                e.clase = Clase::Entero;
                return;
            case TipoResultado::Fecha:
                e.clase = Clase::Fecha;
                return;
            case TipoResultado::Bit:
                e.clase = Clase::Bit;
                return;
            case TipoResultado::Ninguno:
                break;
        }
        e.clase = e.hijos.front()->clase;
        const bool suma = nombre == QLatin1String("sum") || nombre == QLatin1String("avg");
        if (suma && (e.clase == Clase::Texto || e.clase == Clase::Fecha || e.clase == Clase::Bit))
            RechazoDelServidor(8117, {nombreTipo(e.clase), nombre});
    }

    void escritas(Instruccion& s, const Columna* c, const QString& escrito) {
        if (!c) RechazoDelServidor(207, {escrito});
        for (const Columna* otra : s.escritas)
            if (otra == c) RechazoDelServidor(264, {escrito});
        s.escritas.push_back(c);
    }

    void insert(Instruccion& s) {
        tabla(s.destino);
        const Tabla& t = *s.destino.tabla;
        for (const Nombre& n : s.columnas) {
            const Columna* c = t.columna(n.ultima());
            if (c && c->tipo == TipoColumna::Identidad) RechazoDelServidor(544, {t.nombre});
            escritas(s, c, n.ultima());
        }
        // Without a list the server fills every column but the identity.
        if (s.columnas.empty())
            for (const Columna& c : t.columnas)
                if (c.tipo != TipoColumna::Identidad) s.escritas.push_back(&c);
        const Ambito nada;
        for (std::vector<Expr>& fila : s.filas) {
            if (fila.size() < s.escritas.size()) RechazoDelServidor(109);
            if (fila.size() > s.escritas.size()) RechazoDelServidor(110);
            for (Expr& v : fila) expresion(*v, nada, Lugar::Valores);
        }
        if (!s.consulta) return;
        select(*s.consulta, nullptr, false);
        const size_t n = s.consulta->clases.size();
        if (n != s.escritas.size()) RechazoDelServidor(n < s.escritas.size() ? 120 : 121);
    }

    void update(Instruccion& s) {
        tabla(s.destino);
        const Ambito a{nullptr, {&s.destino}};
        for (auto& [n, valor] : s.asignaciones) {
            if (n.partes.size() == 2 && !igual(n.partes[0], s.destino.nombre.ultima()))
                RechazoDelServidor(4104, {n.escrito()});
            const Columna* c = s.destino.tabla->columna(n.ultima());
            if (c && c->tipo == TipoColumna::Identidad) RechazoDelServidor(8102, {c->nombre});
            escritas(s, c, n.ultima());
            expresion(*valor, a, Lugar::Set);
        }
        if (s.donde) condicion(*s.donde, a);
    }
};

}  // namespace

void Resolver(Instruccion& sentencia) { Resolutor().sentencia(sentencia); }

}  // namespace db::incrustado
