#pragma once

#include "data/money.h"
#include "desk/ask.h"
#include "desk/fines.h"
#include "desk/loans.h"

#include <QDate>
#include <QString>

#include <functional>

// Taking books back and renewing loans at the returning desk. Both act on one open loan,
// named by its `iid`: the card and the barcode come from that loan row, read again inside
// the action, never from boxes that may show another loan. Each is one action (call it
// inside Action::run): the overdue fine offered on the way and the damage fine are parts
// of it, so nothing half-done survives a failure.
namespace Returns {

inline constexpr const char* saveCaption = "保存提示";
inline constexpr const char* returnSaved = "您输入的还书信息已经保存成功了！";
inline constexpr const char* renewalSaved = "您输入的续借信息已经保存成功了！";
inline constexpr const char* renewalLimit = "该读者的这本图书不能再续借！\n该读者必须归还此书。";

// The loan the fine dialog is opened for: its boxes are filled from here.
struct FineOffer {
    QString card;
    QString grade;
    QString barcode;
    int days = 0;
    Money amount;
};

// What the screen does on the way: open the overdue fine dialog (and report what it
// confirmed) and the damage fine dialog. Tests and the benchmark answer directly.
struct FineDesk {
    std::function<Fines::OverdueOutcome(const FineOffer&)> overdue;
    std::function<void(const QString& card, const QString& barcode)> damage;
};

struct ReturnRequest {
    qint64 loanId = 0; // iid of the loan on the current list row
    QString cardBox;   // the card box text, which must not be empty
    QString damage;    // the damage box: exactly "Y" means damaged
};

struct Outcome {
    QString card;
    QString barcode;
    Fines::OverdueOutcome fine; // what the overdue fine dialog reported, if it opened
    bool fineOffered = false;
    bool damaged = false;
    bool renewed = false;      // renewal: the loan was renewed
    bool limitReached = false; // renewal: refused because no renewal is left (not a failure)
    QDate due;                 // renewal: the new due date
};

// Return: checks the card and the boxes, offers the overdue fine, closes the loan, lowers
// the card's and the book's counters (never below 0), frees the book's state when a copy
// is back, and for a damaged book takes the damage fine and marks the book damaged.
Outcome giveBack(const ReturnRequest& request, const FineDesk& desk);

// Renewal: asks "您确定要续借这本书吗？" (No stops quietly), offers the overdue fine, then
// renews when the grade allows another renewal. An on-time loan's new due date counts
// from its old one; an overdue loan's from today, as its fine covers the days up to today.
// When no renewal is left, the outcome says so and the confirmed fine stays.
Outcome renew(qint64 loanId, const Ask& ask, const FineDesk& desk);

// --- card entry ---
// The valid cards whose number begins with the typed text: nothing (refused), one, or
// several for the card picker. Refuses an empty box.
Match findCard(const QString& prefix);
// Every valid card (the card list button).
Match findAnyCard();
// The reader on a card found or picked.
struct Reader {
    QString number; // kno
    QString name;   // dzm
    QString grade;  // kdj
};
Reader reader(const QString& number);

// The open loans of a card, for the returning screen's list: txm, tsmc, ctys, HSRQ (the
// due date), then iid, Kno, jsrq. Bind the card number.
QString openLoansStatement();
// How many open loans the card has.
int openLoanCount(const QString& card);

} // namespace Returns
