#pragma once
// What SQL Server gives the statements and SQLite lacks, registered on our connection only:
// the NOCASE collation replaced by the server's comparison of texts, LIKE with its bracket
// classes, UPPER/LOWER beyond ASCII, CAST to char(n), the scalar functions of the schema, and
// what the server raises while a statement runs (divisor, a_entero, a_decimal, una_fila).
#include <QString>
#include <memory>

struct sqlite3;

namespace db::incrustado {

// Compares as the server's case-insensitive collation: letter case does not count (accented
// letters included), trailing blanks do not count, accents do; ñ sorts after n and accented
// letters beside their base letter. 0 when equal.
int CompararTextos(QStringView a, QStringView b);

// T-SQL LIKE: % _ [abc] [a-z] [^abc], an optional escape character, without regard to case.
bool CoincideLike(QStringView patron, QStringView valor, QChar escape = QChar());

class Funciones {
  public:
    explicit Funciones(sqlite3* db);
    ~Funciones();
    Funciones(const Funciones&) = delete;
    Funciones& operator=(const Funciones&) = delete;

    // The staff and branch names read so far are read again from now on.
    void olvidarNombres();

    // The statements the functions read with, prepared on first use.
    struct Consultas;

  private:
    std::unique_ptr<Consultas> consultas_;
};

}  // namespace db::incrustado
