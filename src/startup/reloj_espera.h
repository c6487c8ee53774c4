#pragma once
// The hourglass while the database waits for a lock another station holds, so that the program
// does not look frozen. Nothing the clerk types is taken meanwhile: the wait runs no events.

namespace Global {

// True when a wait starts, false when it ends; installed on Conexion by Conectar.
void MostrarRelojAlEsperar(bool esperando);

}  // namespace Global
