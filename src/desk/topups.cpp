#include "desk/topups.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/session.h"
#include "data/sql.h"
#include "data/typing.h"
#include "desk/grades.h"
#include "desk/ledger.h"
#include "desk/refused.h"

namespace {
constexpr const char* notFoundText = "没有找到您需要的数据！";
}

QStringList TopUps::firstMatches(const QString& prefix, int limit)
{
    Sql q("select kno from cardk where kno like :kno order by kno limit :n");
    q.bind(prefix + "%").bind(limit).exec();
    QStringList numbers;
    while (q.next())
        numbers << q.text("kno");
    return numbers;
}

int TopUps::validDays(const QString& grade)
{
    const std::optional<Grade> found = Grades::find(grade);
    return found ? found->validDays : 0;
}

TopUps::Done TopUps::extend(const Request& r, const Ask& ask)
{
    if (r.number.isEmpty())
        throw Refused::plain("借阅证编号不能为空！", "Edit7");
    // The boxes show the looked-up card: a number typed since then names a card nobody
    // has looked at.
    if (r.lookedUp.isEmpty() || r.number != r.lookedUp)
        throw Refused::plain(notFoundText, "Edit7");
    if (r.validUntil.isEmpty())
        throw Refused::plain("有效日期不能为空！", "Edit8");
    const QDate validUntil = Dates::parse(r.validUntil);
    if (!validUntil.isValid())
        throw Refused::plain("日期格式不对！", "Edit8");
    const QString amountText = r.amount.isEmpty() ? QString("0") : Typing::halfWidth(r.amount);
    bool ok = false;
    const Money amount = Money::fromText(amountText, &ok);
    if (!ok || amount < Money()) // a payment is never negative
        throw Refused::plain("充值金额格式不对！", "Edit10");
    // Only the exact text "0" is an extension without payment; "0.00" is a payment of 0.
    const bool paid = amountText != "0";
    if (!paid && !ask("询问", "充金额为零，您确定要继续吗？"))
        throw ActionCancelled{};

    Transaction transaction; // joins the action's own
    Transaction::beginWriting();
    Sql("insert into jykczb(kno,dzm,yxrq,czje,czy,bz,czrq) values(:t0,:t1,:t2,:t3,:t4,:t5,:t6)")
        .bind(r.lookedUp)
        .bind(r.name)
        .bind(validUntil)
        .bind(amount)
        .bind(Session::current().name)
        .bind(paid ? paidRemark : unpaidRemark)
        .bind(Clock::today())
        .exec();
    Sql update("update cardk set yxrq= :yxrq where kno= :kno");
    update.bind(validUntil).bind(r.lookedUp).exec();
    if (update.rowsAffected() == 0) // cancelled meanwhile
        throw Refused::plain(notFoundText, "Edit7");
    if (paid)
        Ledger::income(amount, Ledger::Reason::topUpAtExtension);
    transaction.commit();
    return {amount, paid, validUntil};
}

TopUpSelection::TopUpSelection(const QString& numberPrefix, const QString& name, const QDate& from,
                               const QDate& to)
    : m_prefix(numberPrefix), m_name(name), m_from(from), m_to(to)
{
}

QString TopUpSelection::where() const
{
    QString where = " where kno like :kno";
    if (!m_name.isEmpty())
        where += " and dzm= :dzm";
    if (m_from.isValid())
        where += " and czrq>=:czrq1";
    if (m_to.isValid())
        where += " and czrq<=:czrq2";
    return where;
}

QVariantList TopUpSelection::values() const
{
    QVariantList values{m_prefix + "%"};
    if (!m_name.isEmpty())
        values << m_name;
    if (m_from.isValid())
        values << Dates::toText(m_from);
    if (m_to.isValid())
        values << Dates::toText(m_to);
    return values;
}

QString TopUpSelection::statement() const
{
    return "select * from jykczb" + where() + " order by kno, rowid";
}

Money TopUpSelection::total() const
{
    // In ten-thousandths as integers, so the total is exact.
    Sql q("select sum(cast(round(czje*10000) as integer)) as expr1001 from jykczb" + where());
    q.bindAll(values()).exec();
    return q.first() ? Money::fromUnits(q.value("expr1001").toLongLong()) : Money();
}
