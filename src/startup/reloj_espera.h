#pragma once
// The hourglass while the database waits for a lock another station holds, so that the program
// does not look frozen. Nothing the clerk types is taken meanwhile: the wait runs no events.

namespace Global {

// True when a wait starts, false when it ends; installed on Conexion by Conectar.
void MostrarRelojAlEsperar(bool esperando);
// While one statement works long (a large sort before its first row): the window events that
// are not the user's run (repaints, timers); keys and clicks wait. Installed by Conectar.
bool AtenderVentanasAlTrabajar();

}  // namespace Global
