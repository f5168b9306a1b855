#include "desk/fines.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/grades.h"
#include "desk/ledger.h"
#include "desk/refused.h"
#include "desk/savepoint.h"

#include <algorithm>

namespace {
// A typed amount: a decimal number, never negative.
std::optional<Money> amountOf(const QString& text)
{
    bool ok = false;
    const Money amount = Money::fromText(text, &ok);
    if (!ok || amount < Money())
        return std::nullopt;
    return amount;
}
} // namespace

std::optional<Fines::Overdue> Fines::overdue(const QDate& due, Money finePerDay, const QDate& today)
{
    if (!due.isValid() || finePerDay <= Money())
        return std::nullopt;
    const qint64 days = due.daysTo(today);
    if (days <= 0)
        return std::nullopt;
    return Overdue{static_cast<int>(days), finePerDay * days};
}

std::optional<Fines::Overdue> Fines::overdueToday(const QDate& due, const QString& grade)
{
    const std::optional<Grade> found = Grades::find(grade);
    return overdue(due, found ? found->finePerDay : Money(), Clock::today());
}

namespace {
// This card's overdue fine for this book is taken for today: a fine row of today, or
// the open loan's overdue days paid up to today.
bool finedToday(const Fines::OverdueEntry& e, const QDate& today)
{
    Sql taken("select * from dzyqfkmxk where Kno=:Kno and Rq=:rq and txm=:txm");
    taken.bind(e.card).bind(today).bind(e.barcode).exec();
    if (taken.first())
        return true;
    const QDate paid = Dates::parse(
        Sql::scalar("select max(yqfkzr) as expr1001 from dzjsmxk where Kno=:Kno and txm=:txm "
                    "and (hsjsr=\"\")",
                    {e.card, e.barcode})
            .toString()
            .left(10));
    return paid.isValid() && paid >= today;
}
} // namespace

QDate Fines::unpaidFrom(const QDate& due, const QDate& paidUntil)
{
    if (paidUntil.isValid() && (!due.isValid() || paidUntil > due))
        return paidUntil;
    return due;
}

Fines::OverdueOutcome Fines::confirmOverdue(const OverdueEntry& e, const Ask& ask)
{
    if (e.card.isEmpty())
        throw Refused(saveCaption, "您必须输入读者的借书卡(证)号，才能登记罚款金额。", "Edit1");
    if (e.barcode.isEmpty())
        throw Refused(saveCaption, "您必须图书条型码才能保存该信息。", "Edit4");
    if (e.amount.isEmpty())
        throw Refused(saveCaption, "您必须登记罚款金额才能保存该信息。", "Edit3");

    OverdueOutcome outcome;
    const QDate today = Clock::today();
    if (finedToday(e, today)) {
        outcome.kind = OverdueOutcome::Kind::AlreadyTaken;
        return outcome;
    }
    const std::optional<Money> amount = amountOf(e.amount);
    if (!amount)
        throw Refused(saveCaption, overdueNotSaved, "Edit3");
    // Asked before anything is written, so no other desk waits for the answer.
    const bool book = ask("提示信息", confirmQuestion);
    Savepoint::run("overdue_fine", [&] {
        // Another desk may have taken this fine while the question was open.
        if (finedToday(e, today)) {
            outcome.kind = OverdueOutcome::Kind::AlreadyTaken;
            return;
        }
        Sql("insert into dzyqfkmxk values(:Kno,:rq,:jsr,:txm,:kdj,:je)")
            .bind(e.card)
            .bind(today)
            .bind(Session::current().name)
            .bind(e.barcode)
            .bind(e.grade)
            .bind(*amount)
            .exec();
        // The fine row stays whatever the answer: it records that the fine was offered.
        // A booked fine pays the loan's overdue days up to today.
        if (book) {
            Ledger::income(*amount, Ledger::Reason::overdueFine);
            Sql::run("update dzjsmxk set yqfkzr=:yqfkzr where Kno=:Kno and txm=:txm and "
                     "(hsjsr=\"\")",
                     {today, e.card, e.barcode});
            outcome.kind = OverdueOutcome::Kind::Confirmed;
            outcome.amount = *amount;
        }
    });
    return outcome;
}

Money Fines::confirmDamage(const QString& amountText)
{
    if (amountText.isEmpty())
        throw ActionCancelled{};
    const std::optional<Money> amount = amountOf(amountText);
    if (!amount)
        throw Refused(hintCaption, damageNotANumber, "Edit1");
    Savepoint::run("damage_fine", [&] { Ledger::income(*amount, Ledger::Reason::damageFine); });
    return *amount;
}

QString Fines::readerName(const QString& card)
{
    Sql q("select * from cardk where Kno=:Kno");
    q.bind(card).exec();
    return q.first() ? q.text("dzm") : QString();
}

Fines::CardMatch Fines::findCard(const QString& prefix)
{
    if (prefix.isEmpty())
        throw Refused(hintCaption, "您必须输入读者的借书卡(证)号，才能登记罚款金额。", "Edit1");
    Sql q("select kno,kdj from cardk where Kno like:Kno order by kno limit 2");
    q.bind(prefix + "%").exec();
    CardMatch match;
    while (q.next()) {
        if (++match.count == 1) {
            match.number = q.text("kno");
            match.grade = q.text("kdj");
        }
    }
    if (match.count == 0)
        throw Refused(hintCaption, "您输入的借书卡(证)号不存在，请确定后重新输入。", "Edit1");
    return match;
}

Listing Fines::matchingCards(const QString& prefix)
{
    return {"select * from cardk where Kno like:Kno order by kno", {prefix + "%"}};
}

QString Fines::gradeOf(const QString& card)
{
    return Sql::scalar("select kdj from cardk where kno=:kno", {card}).toString();
}

Fines::LoanMatch Fines::findOpenLoan(const QString& card, const QString& barcodePrefix)
{
    Sql q("select txm,hsrq,yqfkzr from dzjsmxk where Kno=:Kno and txm like:txm and "
          "(hsJSR=\"\") order by txm limit 2");
    q.bind(card).bind(barcodePrefix + "%").exec();
    LoanMatch match;
    while (q.next()) {
        if (++match.count == 1) {
            match.barcode = q.text("txm");
            const QDate due = unpaidFrom(q.date("hsrq"), q.date("yqfkzr"));
            match.daysOverdue = due.isValid() ? std::max<qint64>(0, due.daysTo(Clock::today())) : 0;
        }
    }
    if (match.count == 0)
        throw Refused(hintCaption, "该读者没有借阅该图书！请确定后重新输入。", "Edit4");
    return match;
}
