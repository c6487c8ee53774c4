#pragma once
// Qt's own texts (context menus, standard buttons, the calendar, the file dialog) in Spanish.

// Loads Qt's Spanish translations into the application and, asked before them, the program's
// own for what they lack or say otherwise than in Mexico (the file dialog: "archivo",
// "carpeta"); the default locale becomes Spanish (Mexico). False when Qt's are not installed:
// their texts then stay in English, the program's own still apply.
bool InstalarTraduccionesQt();
