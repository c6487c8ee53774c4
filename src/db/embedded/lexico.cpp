#include "db/embedded/lexico.h"

#include <sqlite3.h>

#include <QSet>
#include <QStringList>

#include "db/embedded/rechazos.h"

namespace db::incrustado {

namespace {

bool caracterDeNombre(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') ||
           c == QLatin1Char('#') || c == QLatin1Char('@');
}

class Lector {
  public:
    explicit Lector(const QString& s) : s_(s), n_(s.size()) {}

    std::vector<Token> leer() {
        while (i_ < n_) {
            const QChar c = s_[i_];
            if (c.isSpace())
                ++i_;
            else if (c == QLatin1Char('-') && en(i_ + 1) == QLatin1Char('-'))
                while (i_ < n_ && s_[i_] != QLatin1Char('\n')) ++i_;
            else if (c == QLatin1Char('/') && en(i_ + 1) == QLatin1Char('*'))
                comentario();
            else if (c == QLatin1Char('\'') || ((c == QLatin1Char('N') || c == QLatin1Char('n')) &&
                                                en(i_ + 1) == QLatin1Char('\'') &&
                                                (i_ == 0 || !caracterDeNombre(s_[i_ - 1]))))
                cadena();
            else if (c == QLatin1Char('"'))
                Rechazar(
                    QStringLiteral("comillas dobles (en SQL Server nombran, en SQLite pueden ser "
                                   "texto); use comillas simples o corchetes"));
            else if (c == QLatin1Char('['))
                r_.push_back({Token::Corchete, hastaCierre(QLatin1Char(']'), 1)});
            else if (c.isDigit() || (c == QLatin1Char('.') && en(i_ + 1).isDigit()))
                numero();
            else if (c == QLatin1Char('@'))
                Rechazar(QStringLiteral("variables de T-SQL («@…», «@@…»)"));
            else if (c == QLatin1Char('#'))
                Rechazar(QStringLiteral("tablas temporales («#…»)"));
            else if (c.isLetter() || c == QLatin1Char('_'))
                palabra();
            else
                simbolo();
        }
        return std::move(r_);
    }

  private:
    QChar en(qsizetype k) const { return k < n_ ? s_[k] : QChar(); }

    void comentario() {
        // T-SQL comments nest.
        int nivel = 0;
        do {
            if (s_[i_] == QLatin1Char('/') && en(i_ + 1) == QLatin1Char('*')) {
                ++nivel;
                i_ += 2;
            } else if (s_[i_] == QLatin1Char('*') && en(i_ + 1) == QLatin1Char('/')) {
                --nivel;
                i_ += 2;
            } else {
                ++i_;
            }
        } while (nivel > 0 && i_ < n_);
        if (nivel > 0) Rechazar(QStringLiteral("un comentario /* sin cerrar"));
    }

    // The text up to `cierre`, a doubled `cierre` standing for itself; i_ at the opening.
    QString hastaCierre(QChar cierre, int apertura) {
        QString t;
        i_ += apertura;
        for (;;) {
            if (i_ >= n_)
                Rechazar(cierre == QLatin1Char(']')
                             ? QStringLiteral("un nombre entre corchetes sin cerrar")
                             : QStringLiteral("una cadena sin comilla de cierre"));
            if (s_[i_] == cierre) {
                if (en(i_ + 1) == cierre) {
                    t += cierre;
                    i_ += 2;
                    continue;
                }
                ++i_;
                return t;
            }
            t += s_[i_++];
        }
    }

    void cadena() {
        // N'...' is the same text here: the files hold Unicode.
        const int apertura = s_[i_] == QLatin1Char('\'') ? 1 : 2;
        r_.push_back({Token::Cadena, hastaCierre(QLatin1Char('\''), apertura)});
    }

    void numero() {
        const qsizetype inicio = i_;
        while (i_ < n_ && s_[i_].isDigit()) ++i_;
        if (en(i_) == QLatin1Char('.')) {
            ++i_;
            while (i_ < n_ && s_[i_].isDigit()) ++i_;
        }
        if ((en(i_) == QLatin1Char('e') || en(i_) == QLatin1Char('E')) &&
            (en(i_ + 1).isDigit() ||
             ((en(i_ + 1) == QLatin1Char('+') || en(i_ + 1) == QLatin1Char('-')) &&
              en(i_ + 2).isDigit()))) {
            i_ += 2;
            while (i_ < n_ && s_[i_].isDigit()) ++i_;
        }
        if (i_ < n_ && caracterDeNombre(s_[i_]))
            Rechazar(QStringLiteral("el número «%1»").arg(s_.mid(inicio, i_ - inicio + 1)));
        r_.push_back({Token::Numero, s_.mid(inicio, i_ - inicio)});
    }

    void palabra() {
        const qsizetype inicio = i_;
        while (i_ < n_ && caracterDeNombre(s_[i_])) ++i_;
        r_.push_back({Token::Palabra, s_.mid(inicio, i_ - inicio)});
    }

    void simbolo() {
        static const char* const kDobles[] = {
            "<>", "!=", "<=", ">=", "!<", "!>", "||", "==", "<<", ">>",
            "::", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
        const QChar c = s_[i_];
        for (const char* d : kDobles) {
            if (c == QLatin1Char(d[0]) && en(i_ + 1) == QLatin1Char(d[1])) {
                r_.push_back({Token::Simbolo, QLatin1String(d)});
                i_ += 2;
                return;
            }
        }
        if (!QStringLiteral("(),.;=<>+-*/%&|^~").contains(c))
            Rechazar(QStringLiteral("el carácter «%1»").arg(c));
        r_.push_back({Token::Simbolo, QString(c)});
        ++i_;
    }

    const QString& s_;
    const qsizetype n_;
    qsizetype i_ = 0;
    std::vector<Token> r_;
};

}  // namespace

std::vector<Token> Tokenizar(const QString& sql) { return Lector(sql).leer(); }

namespace {

QSet<QString> conjunto(const QString& palabras) {
    const QStringList l = palabras.split(QLatin1Char(' '));
    return QSet<QString>(l.begin(), l.end());
}

}  // namespace

bool EsClave(const QString& palabra) {
    static const QSet<QString> k = conjunto(QStringLiteral(
        "SELECT DISTINCT ALL TOP FROM WHERE AND OR NOT IS NULL LIKE ESCAPE IN BETWEEN EXISTS "
        "JOIN INNER LEFT RIGHT FULL OUTER CROSS ON AS ORDER GROUP BY ASC DESC HAVING INSERT "
        "INTO VALUES UPDATE SET DELETE CASE WHEN THEN ELSE END CAST UNION"));
    return k.contains(palabra.toUpper());
}

bool EsReservada(const QString& palabra) {
    // The server's reserved words, then T-SQL's other words and SQLite's hidden columns.
    static const QSet<QString> r = conjunto(QStringLiteral(
        "ADD ALTER ANY AUTHORIZATION BACKUP BEGIN BREAK BROWSE BULK CASCADE CHECK CHECKPOINT "
        "CLOSE CLUSTERED COALESCE COLLATE COLUMN COMMIT COMPUTE CONSTRAINT CONTAINS "
        "CONTAINSTABLE CONTINUE CONVERT CREATE CURRENT CURRENT_DATE CURRENT_TIME "
        "CURRENT_TIMESTAMP CURRENT_USER CURSOR DATABASE DBCC DEALLOCATE DECLARE DEFAULT DENY "
        "DISK DISTRIBUTED DOUBLE DROP DUMP ERRLVL EXCEPT EXEC EXECUTE EXIT EXTERNAL FETCH FILE "
        "FILLFACTOR FOR FOREIGN FREETEXT FREETEXTTABLE FUNCTION GOTO GRANT HOLDLOCK IDENTITY "
        "IDENTITY_INSERT IDENTITYCOL IF INDEX INTERSECT KEY KILL LINENO LOAD MERGE NATIONAL "
        "NOCHECK NONCLUSTERED NULLIF OF OFF OFFSETS OPEN OPENDATASOURCE OPENQUERY OPENROWSET "
        "OPENXML OPTION OVER PERCENT PIVOT PLAN PRECISION PRIMARY PRINT PROC PROCEDURE PUBLIC "
        "RAISERROR READ READTEXT RECONFIGURE REFERENCES REPLICATION RESTORE RESTRICT RETURN "
        "REVERT REVOKE ROLLBACK ROWCOUNT ROWGUIDCOL RULE SAVE SCHEMA SECURITYAUDIT "
        "SESSION_USER SETUSER SHUTDOWN SOME STATISTICS SYSTEM_USER TABLE TABLESAMPLE TEXTSIZE "
        "TO TRAN TRANSACTION TRIGGER TRUNCATE TRY_CONVERT TSEQUAL UNIQUE UNPIVOT UPDATETEXT "
        "USE USER VARYING VIEW WAITFOR WHILE WITH WITHIN WRITETEXT OUTPUT NOLOCK APPLY GO "
        "NOCOUNT THROW TRY CATCH ROWID OID _ROWID_"));
    if (r.contains(palabra.toUpper())) return true;
    const QByteArray u = palabra.toUtf8();
    return sqlite3_keyword_check(u.constData(), static_cast<int>(u.size())) != 0;
}

}  // namespace db::incrustado
