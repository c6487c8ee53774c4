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

// Fills a fresh engine (empty tables) with a hand-written sample, every row known one by one:
// branches, staff with enciphered passwords, customers (homonyms, one undesirable, one
// uncollectible), tickets, promotions, the published version, six applications and two
// batches. Throws db::ErrorBD when the tables are not empty.
void SembrarMuestra(db::MotorIncrustado& motor);

// The sample and, over it, a working office: two distribution centres with branches,
// salespeople and verifiers; about two hundred applications of the last three weeks in every
// state, and four months of history before them (batches all back) for the dashboard; batches
// delivered, partly and wholly received; rejected and reactivated applications; homonyms, customers
// with a history, bad records and guarantors with one; tickets with and without balance. Always the
// same rows, dated from today. One transaction.
void SembrarDemo(db::MotorIncrustado& motor);

}  // namespace demo
