#include "db/cadena_conexion.h"

#include <QStringList>

namespace db {

std::optional<QString> valorDeCadena(const QString& cadenaConexion, QLatin1String clave) {
    for (const QString& parte : cadenaConexion.split(QLatin1Char(';'))) {
        const int igual = parte.indexOf(QLatin1Char('='));
        if (igual < 0 || parte.left(igual).trimmed().compare(clave, Qt::CaseInsensitive) != 0)
            continue;
        QString v = parte.mid(igual + 1).trimmed();
        if (v.startsWith(QLatin1Char('{')) && v.endsWith(QLatin1Char('}')))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

QString servidorDeCadena(const QString& cadenaConexion) {
    return valorDeCadena(cadenaConexion, QLatin1String("Server")).value_or(QString());
}

}  // namespace db
