#pragma once
// Reader and writer of the start-up table: dBase III and Visual FoxPro files (.dbf).
#include <QHash>
#include <QString>
#include <stdexcept>

namespace dbf {

class ErrorDbf : public std::runtime_error {
  public:
    explicit ErrorDbf(const QString& mensaje)
        : std::runtime_error(mensaje.toStdString()), mensaje_(mensaje) {}
    const QString& mensaje() const { return mensaje_; }

  private:
    QString mensaje_;
};

// The text fields (Character, and Visual FoxPro's Varchar and Varbinary at their real length)
// of the first row that is not marked deleted, keyed by field name in upper case, read as
// Windows-1252 and trimmed of blanks; a NULL field reads empty. Other field types are ignored.
// Returns false when the table holds no row; throws ErrorDbf when the file is unreadable or
// damaged.
bool LeerPrimerRenglon(const QString& ruta, QHash<QString, QString>& campos);

struct CampoTexto {
    QString nombre;  // at most 10 characters
    int longitud;
    QString valor;  // must be representable in Windows-1252
};

// Writes a dBase III table with one row of character fields.
void EscribirTabla(const QString& ruta, const QList<CampoTexto>& campos);

}  // namespace dbf
