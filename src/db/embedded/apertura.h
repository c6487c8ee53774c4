#pragma once
// What the embedded engine checks before it trusts a folder: it creates the two files with the
// empty schema only when neither is there, and never hides data that went missing.
#include <QString>

struct sqlite3;

namespace db::incrustado {

// True when the folder (made if missing) holds neither file, so both are to be created. A
// folder that cannot be made, one file without the other, or an empty file is an ErrorBD
// naming it.
bool CarpetaNueva(const QString& carpeta, const QString& archivoErp, const QString& archivoNorv);
// The file attached as `base` ("main" or "norv") reads as a database and takes changes.
void ProbarArchivo(sqlite3* db, const QString& base, const QString& ruta);
// Every table of the schema, with every column, is in the file attached as `base`.
void RevisarTablas(sqlite3* db, const QString& base, const QString& ruta);

}  // namespace db::incrustado
