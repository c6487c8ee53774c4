#include "ui/traducciones.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>

namespace {

// The file dialog as a clerk in Mexico says it: "archivo" and "carpeta", never "fichero" nor
// "directorio", and the texts Qt's Spanish leaves in English ("Folder").
struct Texto {
    const char* contexto;
    const char* original;
    const char* mexicano;
};

constexpr Texto Propios[] = {
    {"QFileDialog", "Look in:", "Buscar en:"},
    {"QFileDialog", "File &name:", "&Nombre del archivo:"},
    {"QFileDialog", "Files of type:", "Tipo de archivo:"},
    {"QFileDialog", "Back", "Atrás"},
    {"QFileDialog", "Forward", "Adelante"},
    {"QFileDialog", "Parent Directory", "Carpeta superior"},
    {"QFileDialog", "Create New Folder", "Crear carpeta nueva"},
    {"QFileDialog", "List View", "Vista de lista"},
    {"QFileDialog", "Detail View", "Vista de detalles"},
    {"QFileDialog", "Go back", "Regresar"},
    {"QFileDialog", "Go forward", "Avanzar"},
    {"QFileDialog", "Go to the parent directory", "Ir a la carpeta superior"},
    {"QFileDialog", "Create a New Folder", "Crear una carpeta nueva"},
    {"QFileDialog", "Change to list view mode", "Ver como lista"},
    {"QFileDialog", "Change to detail view mode", "Ver con detalles"},
    {"QFileDialog", "&Rename", "Cambiar &nombre"},
    {"QFileDialog", "&Delete", "&Eliminar"},
    {"QFileDialog", "Delete", "Eliminar"},
    {"QFileDialog", "Show &hidden files", "Mostrar archivos &ocultos"},
    {"QFileDialog", "&New Folder", "&Nueva carpeta"},
    {"QFileDialog", "New Folder", "Nueva carpeta"},
    {"QFileDialog", "All Files (*)", "Todos los archivos (*)"},
    {"QFileDialog", "Files", "Archivos"},
    {"QFileDialog", "File", "Archivo"},
    {"QFileDialog", "Directories", "Carpetas"},
    {"QFileDialog", "Directory:", "Carpeta:"},
    {"QFileDialog", "Find Directory", "Buscar carpeta"},
    {"QFileDialog", "Save As", "Guardar como"},
    {"QFileDialog", "&Choose", "&Elegir"},
    {"QFileDialog", "My Computer", "Mi equipo"},
    {"QFileDialog", "Drive", "Unidad"},
    {"QFileDialog", "Sidebar", "Barra lateral"},
    {"QFileDialog", "List of places and bookmarks", "Lugares y marcadores"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?",
     "El archivo %1 ya existe.\n¿Desea reemplazarlo?"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nNo se encontró el archivo.\nRevise que el nombre del archivo sea correcto."},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nNo se encontró la carpeta.\nRevise que el nombre de la carpeta sea correcto."},
    {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
     "«%1» está protegido contra escritura.\n¿Desea eliminarlo de todos modos?"},
    {"QFileDialog", "Are you sure you want to delete '%1'?",
     "¿Está seguro de que desea eliminar «%1»?"},
    {"QFileDialog", "Could not delete directory.", "No se pudo eliminar la carpeta."},
    {"QFileSystemModel", "Name", "Nombre"},
    {"QFileSystemModel", "Size", "Tamaño"},
    {"QFileSystemModel", "Type", "Tipo"},
    {"QFileSystemModel", "Kind", "Tipo"},
    {"QFileSystemModel", "Date Modified", "Modificado"},
    {"QFileSystemModel", "Computer", "Equipo"},
    {"QFileSystemModel", "My Computer", "Mi equipo"},
    {"QFileSystemModel", "Invalid filename", "Nombre de archivo no válido"},
    {"QFileSystemModel",
     "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters "
     "or no punctuation marks.",
     "<b>El nombre «%1» no se puede usar.</b><p>Escriba otro nombre, más corto o sin signos de "
     "puntuación."},
    {"QAbstractFileIconProvider", "Folder", "Carpeta"},
    {"QAbstractFileIconProvider", "Drive", "Unidad"},
    {"QAbstractFileIconProvider", "File", "Archivo"},
    {"QAbstractFileIconProvider", "%1 File", "Archivo %1"},
    {"QAbstractFileIconProvider", "Shortcut", "Acceso directo"},
    {"QAbstractFileIconProvider", "Unknown", "Desconocido"},
};

// Asked before Qt's own Spanish (it is installed after it): the texts above as they are, and
// any other of Qt's with "fichero" made "archivo" (both masculine, so nothing else changes).
class TextosMexicanos : public QTranslator {
  public:
    TextosMexicanos(QTranslator* qt, QObject* padre) : QTranslator(padre), qt_(qt) {
        for (const Texto& t : Propios)
            propios_.insert(Clave(t.contexto, t.original), QString::fromUtf8(t.mexicano));
    }

    bool isEmpty() const override { return false; }

    QString translate(const char* contexto, const char* original, const char* desambiguacion,
                      int n) const override {
        if (!contexto || !original) return QString();
        const auto propio = propios_.constFind(Clave(contexto, original));
        if (propio != propios_.constEnd()) return *propio;
        if (!qt_) return QString();
        QString texto = qt_->translate(contexto, original, desambiguacion, n);
        static const QRegularExpression fichero(QStringLiteral("\\bfichero(s?)\\b"));
        static const QRegularExpression Fichero(QStringLiteral("\\bFichero(s?)\\b"));
        texto.replace(fichero, QStringLiteral("archivo\\1"));
        texto.replace(Fichero, QStringLiteral("Archivo\\1"));
        return texto;
    }

  private:
    static QByteArray Clave(const char* contexto, const char* original) {
        return QByteArray(contexto) + '\x04' + original;
    }

    QPointer<QTranslator> qt_;
    QHash<QByteArray, QString> propios_;
};

}  // namespace

bool InstalarTraduccionesQt() {
    auto* qt = new QTranslator(QCoreApplication::instance());
    // The clerks' language, whatever the machine's locale says: also for what Qt reads from
    // the locale (the kinds of file the save dialog names).
    const QLocale espanol(QLocale::Spanish, QLocale::Mexico);
    QLocale::setDefault(espanol);
    const bool hallada = qt->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (hallada)
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    // Ours after Qt's, so it is asked first; without Qt's it still covers the file dialog.
    static QPointer<TextosMexicanos> propios;
    if (propios) {
        QCoreApplication::removeTranslator(propios);
        delete propios;
    }
    propios = new TextosMexicanos(hallada ? qt : nullptr, QCoreApplication::instance());
    QCoreApplication::installTranslator(propios);
    return hallada;
}
