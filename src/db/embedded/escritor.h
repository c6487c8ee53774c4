#pragma once
// The writer of the last stage, shared by its two files: escritura.cpp (statements, SELECT and the
// result's types) and valores.cpp (conditions and values, with the server's rules on them).
#include <QStringList>
#include <vector>

#include "db/embedded/arbol.h"
#include "db/embedded/esquema.h"

namespace db::incrustado::escritura {

using T = Expresion::Tipo;

// The moment as GETDATE() gives it; SQLite fixes 'now' for the whole statement, as the server.
inline const QString kGetdate = QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now','localtime')");
inline const QString kCotejo = QStringLiteral(" COLLATE NOCASE");

// How tightly each form binds in SQLite, to know where parentheses are needed.
enum Nivel { kO = 1, kY, kNo, kPredicado, kSuma, kProducto, kUnario, kPrimario };

struct Texto {
    QString s;
    int nivel;
};

inline QString nombreSqlite(const QString& nombre, bool corchete) {
    if (!corchete) return nombre;
    QString r = nombre;
    return QLatin1Char('"') + r.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

inline QString cadenaSqlite(const QString& texto) {
    QString r = texto;
    return QLatin1Char('\'') + r.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

inline QString envolver(const Texto& t, int minimo) {
    return t.nivel < minimo ? QLatin1Char('(') + t.s + QLatin1Char(')') : t.s;
}

inline bool numerica(Clase c) {
    return c == Clase::Entero || c == Clase::Decimal || c == Clase::Bit;
}

inline bool esColumna(const Expresion& e) { return e.tipo == T::Columna; }

// A value that carries no affinity of its own and is a number: SQLite would compare it with a
// text as a text, where the server turns the text into a number.
inline bool numeroSinAfinidad(const Expresion& e) {
    return numerica(e.clase) && !esColumna(e) && e.tipo != T::Cadena;
}

inline QString descripcion(const Expresion& e) {
    if (esColumna(e)) return e.nombre.escrito();
    if (e.funcion) return e.nombre.escrito() + QStringLiteral("()");
    return QStringLiteral("una expresión");
}

inline QString tablaSqlite(const Fuente& f) {
    QString t = f.base + QLatin1Char('.') + f.tabla->nombre;
    if (!f.alias.isEmpty()) t += QStringLiteral(" AS ") + nombreSqlite(f.alias, f.aliasCorchete);
    return t;
}

// A string literal as the server reads it against a value of class `c`: a date, a bit or a
// number; empty when it stays a text.
QString literalComo(const Expresion& lit, Clase c, const QString& contra, const char* como);

class Escritor {
  public:
    Traduccion sentencia(const Instruccion& s);

  private:
    enum class Contexto {
        Externa,  // the statement's own SELECT
        Filas,    // INSERT ... SELECT, IN (...), EXISTS (...)
        Valor     // a subquery that must give at most one row
    };

    // escritura.cpp
    QString insert(const Instruccion& s);
    QString asignado(const Expresion& v, const Columna& c);
    QString select(const Select& s, Contexto contexto);
    static bool unaFila(const Select& s);
    QString origenes(const std::vector<Fuente>& fuentes);
    void tipos(const Select& s, QVector<TipoResultado>& r);
    static TipoResultado tipoDe(const Expresion& e);

    // valores.cpp
    QString valor(const Expresion& e, int minimo);
    Texto expr(const Expresion& e);
    QString numero(const Expresion& e, Clase otra, int minimo);
    Texto aritmetica(const Expresion& e);
    QString lado(const Expresion& x, const Expresion& otro, bool& cotejo, bool& convertido);
    Texto comparacion(const Expresion& e);
    QString sujeto(const Expresion& s, const std::vector<const Expresion*>& valores, Clase& clase);
    QString valorContra(const Expresion& v, Clase clase, const Expresion& s);
    QString deLista(const Expresion& v, Clase clase, const Expresion& s);
    Texto en(const Expresion& e);
    Texto entre(const Expresion& e);
    Texto como(const Expresion& e);
    QString caso(const Expresion& e);
    QString funcion(const Expresion& e);
    QString cast(const Expresion& e);
    QString diferenciaDias(const Expresion& e);
};

}  // namespace db::incrustado::escritura
