#pragma once
// Any list of the program taken out of it: copied as tab-separated text that pastes into a
// spreadsheet, or written as an Excel workbook with the titles, values and row colours the
// grid shows. Only the columns on screen go.
#include <QString>

class QDate;
class Rejilla;

namespace exportar {

// What the list is called in its file and its sheet (at most 31 characters): the name the
// window gave it, else the title of its frame, else "Lista".
QString NombreLista(const Rejilla& rejilla);
// The name the save dialog suggests: the list and the day, "Pendientes 2026-12-09.xlsx".
QString NombreArchivo(const Rejilla& rejilla, const QDate& dia);

// Titles, then one line per row, cells separated by tabs. With `soloSeleccion` only the
// selected rows; when none is selected, every row.
QString TextoTabulado(const Rejilla& rejilla, bool soloSeleccion);

// The selection (or the whole list) onto the clipboard.
void Copiar(const Rejilla& rejilla);

// Writes the whole list as an .xlsx workbook: the titles in bold, numbers as numbers, dates
// as dates shown dd/mm/yyyy, each cell with the background the grid paints. False, and the
// reason in `error`, when it could not be written; a file there before is then left as it was.
bool EscribirXlsx(const Rejilla& rejilla, const QString& ruta, QString* error);

// Asks where to save (the save dialog of the window services) and writes the workbook there;
// the user is told where it went or why it could not.
void ExportarExcel(const Rejilla& rejilla);

// Puts "Copiar" and "Exportar a Excel…" in every grid's context menu. Called once, at start-up.
void AgregarAlMenuDeLasRejillas();

}  // namespace exportar
