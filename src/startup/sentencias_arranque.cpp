#include "startup/sentencias_arranque.h"

#include "db/sql.h"

namespace arranque {

QString SentenciaSucursal(const QString& sucursal) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasSucursal, ",") +
           QStringLiteral(" FROM sucursales where sucursal=") + db::Texto(sucursal);
}

}  // namespace arranque
