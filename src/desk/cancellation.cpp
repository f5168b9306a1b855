#include "desk/cancellation.h"

#include "data/sql.h"
#include "desk/ledger.h"
#include "desk/lostcards.h"
#include "desk/refused.h"

#include <QStringList>

std::optional<CardRecord> Cancellation::search(const QString& number, const QString& name)
{
    QStringList conditions;
    QVariantList values;
    if (!number.isEmpty()) {
        conditions << "kno=:kno";
        values << number;
    }
    if (!name.isEmpty()) {
        conditions << "dzm=:dzm";
        values << name;
    }
    QString statement = "select * from cardk";
    if (!conditions.isEmpty())
        statement += " where " + conditions.join(" and ");
    Sql q(statement + " order by kno limit 1");
    q.bindAll(values).exec();
    if (!q.first())
        return std::nullopt;
    return CardRecords::fromRow(q);
}

Money Cancellation::readRefund(const QString& text)
{
    bool ok = false;
    const Money refund = Money::fromText(text, &ok);
    if (!ok || refund < Money())
        throw Refused::notice("金额格式错误!", "Edit3");
    return refund;
}

Money Cancellation::cancel(const QString& searched, const QString& refund)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    if (searched.isEmpty())
        throw Refused::notice("请先查询!", "query");
    if (LostCards::isLost(searched))
        throw Refused::plain("此借书证已经挂失, 不能注销");
    if (!Sql::scalar("select iid from dzjsmxk where kno=:tj0 and hsjsr=\"\" limit 1", {searched})
             .isNull())
        throw Refused::plain("该读者有书未还,不能注销");
    const Money amount = refund.isEmpty() ? Money() : readRefund(refund);

    Transaction transaction; // joins the action's own
    Sql remove("delete from cardk where kno=:kno");
    remove.bind(searched).exec();
    if (remove.rowsAffected() == 0) // cancelled meanwhile
        throw Refused::notice("没有查找到所需记录!");
    if (!refund.isEmpty())
        Ledger::expenditure(amount, Ledger::Reason::depositRefund);
    transaction.commit();
    return amount;
}
