#pragma once

#include <QString>

// A demo library for trying the program: grades, numbering, rooms, the classification,
// publishers, about three hundred titles, forty readers with cards, loans open, overdue and
// returned with their fines, lost cards, top-ups and the reading room, all made through the
// desk's own operations on dates before today, so every counter, register row and ledger row
// is what the desk itself would have written. The sample data is fixed (a fixed seed, no
// network): every demo library made on the same day is the same.
namespace DemoLibrary {

struct Summary {
    int titles = 0;
    int copies = 0;
    int readers = 0;
    int lostCards = 0;
    int openLoans = 0;
    int overdueLoans = 0;
    int returnedLoans = 0;
    int fines = 0;
    int periodicals = 0;
    QString showcaseCard; // a reader with loans open and overdue, for the lending desk
    QString showcaseName;
};

// Why no demo library can be made in this program folder (it already holds a library's
// data), or empty when it can. Looks only; touches nothing.
QString refusal(const QString& home);

// Makes the demo library in the current program folder: refuses a folder that already holds
// a library (nothing is touched), otherwise creates the delivered database, fills it in one
// transaction and closes it. False with the reason when it refused or failed; a failed fill
// leaves no database behind.
bool create(Summary* summary, QString* error);

// Fills the open database, which must hold the delivered data only, as of Clock::today().
// Call inside a transaction. The clock and the operator session are as before afterwards.
Summary fill();

// The --demo option of the program: makes the demo library and reports on the terminal.
// False when it refused or failed (the program then ends).
bool createFromCommandLine();

} // namespace DemoLibrary
