#include "login/sentencias_entrada.h"

#include "db/sql.h"

namespace entrada {

QString SentenciaPersona(const QString& clave) {
    const QString texto = db::Texto(clave);
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasPersona, ", ").arg(texto) +
           QStringLiteral(" FROM Personal WHERE persona=") + texto + QStringLiteral(" ");
}

}  // namespace entrada
