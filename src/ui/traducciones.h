#pragma once
// Qt's own texts (context menus, standard buttons, the calendar, the file dialog) in Spanish.

// Loads Qt's Spanish translations into the application; false when they are not installed
// (the texts then stay in English, nothing else changes).
bool InstalarTraduccionesQt();
