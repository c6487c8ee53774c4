#pragma once
// The parser of the second stage, shared by its two files: sintaxis.cpp (statements, SELECT, FROM,
// names) and expresiones.cpp (conditions and values).
#include <initializer_list>
#include <memory>
#include <vector>

#include "db/embedded/arbol.h"
#include "db/embedded/lexico.h"
#include "db/embedded/rechazos.h"

namespace db::incrustado {

// A word or bracketed name that may stand for a name here.
inline bool NombreLibre(const Token& t) {
    if (t.tipo == Token::Corchete) return true;
    return t.tipo == Token::Palabra && !EsClave(t.texto) && !EsReservada(t.texto);
}

inline Expr Nodo(Expresion::Tipo t, QString texto = QString()) {
    auto e = std::make_unique<Expresion>(t);
    e->texto = std::move(texto);
    return e;
}

class Analizador {
  public:
    explicit Analizador(std::vector<Token> t) : t_(std::move(t)) {}
    Instruccion sentencia();

  private:
    static bool esSimbolo(const Token& t, const char* s) {
        return t.tipo == Token::Simbolo && t.texto == QLatin1String(s);
    }
    const Token& tok(size_t k = 0) const {
        static const Token fin{Token::Fin, QString()};
        return i_ + k < t_.size() ? t_[i_ + k] : fin;
    }
    bool es(const char* p, size_t k = 0) const {
        return tok(k).tipo == Token::Palabra &&
               tok(k).texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
    }
    bool sim(const char* s, size_t k = 0) const { return esSimbolo(tok(k), s); }
    bool tomar(const char* p) {
        if (!es(p)) return false;
        ++i_;
        return true;
    }
    bool tomarSim(const char* s) {
        if (!sim(s)) return false;
        ++i_;
        return true;
    }
    void exigir(const char* p) {
        if (!tomar(p)) inesperado(QStringLiteral("«%1»").arg(QLatin1String(p)));
    }
    void exigirSim(const char* s) {
        if (!tomarSim(s)) inesperado(QStringLiteral("«%1»").arg(QLatin1String(s)));
    }
    [[noreturn]] void inesperado(const QString& esperado) const {
        if (tok().tipo == Token::Fin)
            Rechazar(QStringLiteral("la sentencia termina donde falta %1").arg(esperado));
        Rechazar(QStringLiteral("«%1» donde va %2").arg(tok().texto, esperado));
    }

    // What a value or a condition must be where it stands.
    Expr escalar(Expr e) const;
    Expr condicion(Expr e) const;

    // sintaxis.cpp
    Nombre nombre();
    Nombre nombreTabla(bool columnasSiguen = false);
    std::unique_ptr<Select> select(bool subconsulta);
    Elemento elemento();
    void origenes(Select& s);
    Fuente fuente(Fuente::Union u);
    void insert(Instruccion& s);
    void update(Instruccion& s);
    void borrar(Instruccion& s);

    // expresiones.cpp
    Expr expresion();
    Expr conjuncion();
    Expr logica(const char* palabra, Expresion::Tipo tipo, Expr (Analizador::*siguiente)());
    Expr negacion();
    Expr predicado();
    Expr suma();
    Expr producto();
    Expr aritmetica(std::initializer_list<const char*> operadores, Expr (Analizador::*siguiente)());
    Expr unario();
    Expr primario();
    Expr funcion(Nombre n);
    Expr caso();
    Expr cast();
    Expr diferenciaFechas();

    std::vector<Token> t_;
    size_t i_ = 0;
};

}  // namespace db::incrustado
