#pragma once

#include "data/money.h"
#include "desk/ask.h"
#include "desk/loans.h"

#include <QDate>
#include <QString>

#include <optional>

// Fines taken at the lending desk: the overdue fine, recorded once per card, book and
// day in `dzyqfkmxk` and booked in the ledger when the operator confirms it, and the
// damage fine for a book returned damaged, booked at once.
namespace Fines {

// Caption of the overdue fine notices.
inline constexpr const char* saveCaption = "保存提示";
inline constexpr const char* overdueNotSaved = "该读者的逾期罚款金额保存不成功！";
inline constexpr const char* confirmQuestion = "确认罚此金额?";
inline constexpr const char* hintCaption = "提示";
inline constexpr const char* damageSaved = "您输入的罚款金额已经保存成功！。";
inline constexpr const char* damageNotANumber = "您输入的罚款金额不为数字，请确定后重新输入。";

struct Overdue {
    int days = 0; // whole days after the due date
    Money amount; // days × the grade's fine per day
};

// The fine for a loan due on `due` and returned or renewed on `today`: nothing when it is
// due today or later, or when the grade charges nothing.
std::optional<Overdue> overdue(const QDate& due, Money finePerDay, const QDate& today);
// The day a loan's unpaid overdue days count from: its due date, or the last day its
// overdue fine has paid when that is later. No overdue day is fined twice.
QDate unpaidFrom(const QDate& due, const QDate& paidUntil);
// The same for today and the fine per day of the grade (none for an unknown grade).
std::optional<Overdue> overdueToday(const QDate& due, const QString& grade);

// The overdue fine dialog's boxes, as typed.
struct OverdueEntry {
    QString card;    // Edit1
    QString grade;   // Edit2
    QString barcode; // Edit4
    QString amount;  // Edit3
};

struct OverdueOutcome {
    enum class Kind { Confirmed, Declined, AlreadyTaken } kind = Kind::Declined;
    Money amount; // the amount booked, when confirmed
    bool confirmed() const { return kind == Kind::Confirmed; }
};

// Confirm in the overdue fine dialog. Refuses an empty card, barcode or amount box. A fine
// already taken today for this card and book (a fine row of today, or the loan's days
// paid up to today) writes and asks nothing. Otherwise the operator is asked "确认罚此金额?"
// first, then the fine row is written: Yes also books the amount in the ledger
// ("逾期罚款金额") and marks the open loan's overdue days paid up to today, No keeps only
// the fine row. The fine is checked again when it is written (another desk may have
// taken it meanwhile). An amount that is not a
// number (or is negative) is refused with "该读者的逾期罚款金额保存不成功！".
// Runs as a part of its own (Savepoint): a failure undoes only this confirm.
OverdueOutcome confirmOverdue(const OverdueEntry& entry, const Ask& ask);

// Confirm in the damage fine dialog: books the typed amount as "读者损坏罚款". An empty
// box stops quietly (ActionCancelled); letters or a negative amount are refused with
// the "不为数字" notice. Runs as a part of its own, like confirmOverdue.
Money confirmDamage(const QString& amountText);

// Card entry in the overdue fine dialog: cards of any validity whose number begins with
// the typed text. Refuses an empty box and a prefix that matches no card.
struct CardMatch {
    int count = 0;  // 1, or 2 for several
    QString number; // the only card's kno and kdj
    QString grade;
};
CardMatch findCard(const QString& prefix);
// Every card findCard matches, valid or not, for the card picker.
Listing matchingCards(const QString& prefix);
// The grade of a card, for a card picked from a list.
QString gradeOf(const QString& card);

// Barcode entry in the overdue fine dialog: the card's open loans whose barcode begins
// with the typed text. Refuses when there is none.
struct LoanMatch {
    int count = 0;   // 1, or 2 for several
    QString barcode; // the only loan's barcode
    int daysOverdue = 0;
};
LoanMatch findOpenLoan(const QString& card, const QString& barcodePrefix);

// The reader's name on a card (any card, valid or not), for the bills.
QString readerName(const QString& card);

} // namespace Fines
