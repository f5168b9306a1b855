#include "desk/returns.h"

#include "data/clock.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/bookstate.h"
#include "desk/refused.h"

#include <optional>

namespace {
constexpr const char* returnCaption = "还书提示";
constexpr const char* noSuchCard = "没有该借书证号！请确定后重新输入。";

struct OpenLoan {
    qint64 id = 0;
    QString card;
    QString barcode;
    QDate due;
    int renewals = 0;
    QDate paidUntil; // yqfkzr: the overdue days up to here are fined
};

struct Card {
    QString number;
    QString grade; // kdj
    QString type;  // km
};

// The loan as it stands now; refused when it has been closed meanwhile (a second press,
// another window), so a return never lowers the counters twice.
OpenLoan openLoan(qint64 id)
{
    Sql q("select * from dzjsmxk  where iid= :iid");
    q.bind(id).exec();
    if (!q.first() || !q.isNull("hsjsr"))
        throw Refused(returnCaption, "这条借阅记录已经还书了，请重新输入借阅卡号！", "Edit1");
    return {id, q.text("kno"), q.text("txm"), q.date("hsrq"), q.integer("xjcs"), q.date("yqfkzr")};
}

// The loan's card, when it is still valid.
std::optional<Card> validCard(const QString& number)
{
    Sql q("select * from cardk where (sfyx=\"Y\") and Kno=:Kno");
    q.bind(number).exec();
    if (!q.first())
        return std::nullopt;
    return Card{q.text("kno"), q.text("kdj"), q.text("km")};
}

// Offers the overdue fine for the days up to today, when there are any and the grade
// charges for them.
void offerFine(const OpenLoan& loan, const Card& card, const Returns::FineDesk& desk,
               Returns::Outcome& outcome)
{
    const std::optional<Fines::Overdue> fine =
        Fines::overdueToday(Fines::unpaidFrom(loan.due, loan.paidUntil), card.grade);
    if (!fine || !desk.overdue)
        return;
    outcome.fineOffered = true;
    Transaction::beforeWaitingForPerson("overdue fine");
    outcome.fine = desk.overdue({card.number, card.grade, loan.barcode, fine->days, fine->amount});
}

} // namespace

Returns::Outcome Returns::giveBack(const ReturnRequest& r, const FineDesk& desk)
{
    if (r.loanId <= 0)
        throw ActionCancelled{};
    const OpenLoan loan = openLoan(r.loanId);
    const std::optional<Card> card = validCard(loan.card);
    if (!card)
        throw Refused(returnCaption, noSuchCard, "Edit1");
    if (r.damage.isEmpty())
        throw Refused(saveCaption, "您必须输入读者归还的图书是否被损坏！", "ComboBox1");
    if (r.cardBox.isEmpty())
        throw Refused(saveCaption, "必须输入读者的借书证号才能登记该读者的！", "Edit1");

    Outcome outcome;
    outcome.card = loan.card;
    outcome.barcode = loan.barcode;
    outcome.damaged = r.damage == QLatin1String("Y");
    offerFine(loan, *card, desk, outcome);

    // Written from here on: what the checks above read is read again under the lock (another
    // desk may have returned the loan or withdrawn the card while the fine dialog was open).
    Transaction::beginWriting();
    if (openLoan(r.loanId).card != loan.card || !validCard(loan.card))
        throw Refused(returnCaption, noSuchCard, "Edit1");

    Sql("update dzjsmxk set hsrq=:hsrq, hsjsr=:hsjsr, sfsh=:sfsh, xjcs=0 where iid= :iid")
        .bind(Clock::today())
        .bind(Session::current().name)
        .bind(outcome.damaged ? "Y" : "N")
        .bind(loan.id)
        .exec();
    // Neither counter goes below 0, also when it was blank or already 0.
    Sql::run("update cardk set jsbs=case when jsbs is null or jsbs<1 then 0 else jsbs-1 end "
             "where Kno=:Kno",
             {loan.card});
    Sql::run("update tszk set jcs=case when jcs is null or jcs<1 then 0 else jcs-1 end "
             "where txm= :txm",
             {loan.barcode});
    BookState::settle(loan.barcode); // a copy is back on the shelf
    if (outcome.damaged) {
        if (desk.damage)
            desk.damage(loan.card, loan.barcode);
        Sql::run("update tszk set sfsh=:sfsh where txm=:txm", {"Y", loan.barcode});
    }
    return outcome;
}

Returns::Outcome Returns::renew(qint64 loanId, const Ask& ask, const FineDesk& desk)
{
    if (loanId <= 0)
        throw ActionCancelled{};
    if (!ask("续借提示", "您确定要续借这本书吗？"))
        throw ActionCancelled{};
    OpenLoan loan = openLoan(loanId);
    Card card;
    {
        Sql q("select km,kdj from cardk where kno=:kno");
        q.bind(loan.card).exec();
        card.number = loan.card;
        if (q.first()) {
            card.grade = q.text("kdj");
            card.type = q.text("km");
        }
    }

    Outcome outcome;
    outcome.card = loan.card;
    outcome.barcode = loan.barcode;
    offerFine(loan, card, desk, outcome);

    // Re-read under the write lock: the loan must still be open, and its renewals and due
    // date are the ones another desk may just have changed.
    Transaction::beginWriting();
    loan = openLoan(loanId);
    const int allowed =
        Sql::scalar("select yxxjcs from jykdjk where kdj=:kdj and km=:km", {card.grade, card.type})
            .toInt();
    if (loan.renewals >= allowed) {
        outcome.limitReached = true;
        return outcome;
    }
    Sql period("select jyqx from  jykdjk where kdj= :kdj");
    period.bind(card.grade).exec();
    if (!period.first())
        throw Refused::plain("系统借书证等级还没有设置好！");
    const int days = period.integer("jyqx");

    // An overdue loan has been fined up to today, so its next period starts today.
    const QDate today = Clock::today();
    const QDate from = (loan.due.isValid() && loan.due >= today) ? loan.due : today;
    outcome.due = from.addDays(days);
    Sql("update dzjsmxk set xjcs=:xjcs, hsrq=:hsrq where iid= :iid")
        .bind(loan.renewals + 1)
        .bind(outcome.due)
        .bind(loan.id)
        .exec();
    outcome.renewed = true;
    return outcome;
}

QString Returns::openLoansStatement()
{
    return "select dzjsmxk.txm, tszk.tsmc, tszk.ctys, dzjsmxk.HSRQ, dzjsmxk.iid, dzjsmxk.Kno, "
           "dzjsmxk.jsrq from dzjsmxk,tszk where dzjsmxk.txm=tszk.txm and dzjsmxk.Kno=:kno "
           "and dzjsmxk.hsjsr=\"\" order by dzjsmxk.iid";
}

int Returns::openLoanCount(const QString& card)
{
    return Sql::scalar("select count(*) as expr1001 from dzjsmxk where kno=:kno and hsjsr=\"\"",
                       {card})
        .toInt();
}

Match Returns::findCard(const QString& prefix)
{
    if (prefix.isEmpty())
        throw Refused(returnCaption, "您必须输入读者的借阅卡号才能登记该读者的还书！", "Edit1");
    try {
        return Loans::findCards(prefix);
    } catch (const Refused&) {
        throw Refused(returnCaption, noSuchCard, "Edit1");
    }
}

Match Returns::findAnyCard()
{
    try {
        return Loans::findAllCards();
    } catch (const Refused&) {
        throw Refused(returnCaption, noSuchCard, "Edit1");
    }
}

Returns::Reader Returns::reader(const QString& number)
{
    Sql q("select kno,dzm,kdj from cardk where kno=:kno");
    q.bind(number).exec();
    if (!q.first())
        throw Refused(returnCaption, noSuchCard, "Edit1");
    return {q.text("kno"), q.text("dzm"), q.text("kdj")};
}
