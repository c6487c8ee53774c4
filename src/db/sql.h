#pragma once
#include <QString>

namespace db {

// Every text placed between single quotes in a statement goes through here: a quote inside
// the text is doubled, so a name like O'HIGGINS is stored as typed and cannot end the literal.
inline QString EscaparComillas(const QString& texto) {
    QString r = texto;
    return r.replace(QLatin1Char('\''), QLatin1String("''"));
}

}  // namespace db
