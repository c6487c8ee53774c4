#pragma once
#include <QString>

class QComboBox;

// Adds to `lista` the staff of the running branch's distribution centre that `condicion`
// selects ("AND   p.es_vendedor = 1  " or "AND   p.es_verificador=1  "), ordered by surnames
// and names: the text "SURNAMES NAMES" upper-cased, the staff number as item data. Reads
// through Global::Registros2; throws db::ErrorBD.
void LlenarListaPersonal(QComboBox* lista, const QString& condicion);
