#pragma once

#include "desk/periodicals.h"

#include <QString>

// Lending periodicals for reading inside the reading room: `zzqkztk` holds one row per
// issue out; a card holds one issue at a time.
namespace ReadingRoom {
struct Reader {
    QString name;      // cardk.dzm
    QString photoPath; // cardk.strpath, may be empty
};

// The card as the lending screen looks it up: refuses a card reported lost
// ("此借书证已经挂失,不能借书") or not registered ("此借阅证未登记，请重新输入！").
// The card's validity is not consulted.
Reader lookUpCard(const QString& card);

struct Loan {
    QString name;       // Edit1
    QString issue;      // Edit2
    QString date;       // Edit3, as typed
    QString type;       // ComboBox1
    QString card;       // Edit4
    QString readerName; // Edit5
    QString publisher;  // Edit6
};

// Lends the issue to the card: every field is needed; the card must be registered and
// not lost, must not hold an issue already, and the issue must not be out as often as
// it is registered (at least once).
void lend(const Loan& loan);

// Takes the issue back from `card`: the only row of the issue, or, when several cards
// hold it, the row of the card given (refused without one). Refuses an issue not out.
void giveBack(const QString& name, const QString& issue, const QString& card);

// The issues out, one row per loan, under the query screen's conditions (each empty
// condition matches everything). The mnemonic matches the register rows of the name.
struct Conditions {
    QString name;      // prefix
    QString type;      // exact
    QString issue;     // exact
    QString date;      // exact date, as typed
    QString publisher; // prefix
    QString mnemonic;  // prefix, case-sensitive
    bool isEmpty() const;
};
// Refuses a date box that holds no date with "日期格式错误!".
Selection issuesOut(const Conditions& conditions);
// The notice for a query that found nothing.
QString nothingFoundText(const Conditions& conditions);
} // namespace ReadingRoom
