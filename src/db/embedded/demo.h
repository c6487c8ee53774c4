#pragma once
// Sample data for trying the program and training a clerk without touching company data.
#include <QString>

namespace db {
class MotorIncrustado;
}

namespace demo {

// The demo log-in and the branch the demo runs as.
inline const QString kUsuario = QStringLiteral("101");
inline const QString kContrasena = QStringLiteral("DEMO");
inline const QString kSucursal = QStringLiteral("1");
inline const QString kCentro = QStringLiteral("CHI");

// Fills a fresh engine (empty tables) with branches, staff with enciphered passwords,
// customers (homonyms, one undesirable, one uncollectible), tickets, promotions, the
// published version and a few applications. Throws db::ErrorBD when the tables are not empty.
void SembrarDemo(db::MotorIncrustado& motor);

}  // namespace demo
