#include "desk/cardissue.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/cardsequence.h"
#include "desk/ledger.h"
#include "desk/refused.h"

namespace {
Money amount(const QString& text, bool* ok)
{
    const Money value = Money::fromText(text, ok);
    if (value < Money()) // a deposit or top-up is never negative
        *ok = false;
    return value;
}
} // namespace

IssuedCard CardIssue::issue(const CardApplication& a, const Ask& ask)
{
    if (a.validUntil.isEmpty())
        throw Refused::plain("有效日期不能为空！", "Edit8");
    const QDate validUntil = Dates::parse(a.validUntil);
    if (!validUntil.isValid())
        throw Refused::plain("日期格式不对（如：2008-12-11）");
    if (a.name.isEmpty())
        throw Refused::notice("请输入读者姓名!", "Edit1");
    if (a.topUp.isEmpty())
        throw Refused::plain("充值金额不能为空可以为零！", "Edit9");
    bool ok = false;
    const Money topUp = amount(a.topUp, &ok);
    if (!ok)
        throw Refused::plain("充值金额格式不对！");
    if (a.identity.isEmpty())
        throw Refused::notice("请输入请输入身份证(学生证)!", "Edit2");
    const QString depositText = a.deposit.isEmpty() ? QString("0") : a.deposit;
    // Only the exact text "0" counts as no top-up; "0.00" is booked as a top-up of 0.
    const bool noTopUp = a.topUp == "0";
    if (noTopUp && !ask("询问", "充值金额为零，是否继续保存？"))
        throw ActionCancelled{};
    if (a.grade.isEmpty())
        throw ActionCancelled{};
    const Money deposit = amount(depositText, &ok);
    if (!ok)
        throw Refused::notice("押金输入格式错误,请重新输入!", "Edit3");
    const std::optional<Grade> grade = Grades::find(a.grade);
    if (!grade)
        throw Refused::notice("查无此等级!", "ComboBox1");
    // The sequence advances from the card number, so it must be a number.
    qint64 number = 0;
    if (!CardSequence::numberValue(a.number, &number))
        throw Refused::notice("编号只能是数字,请修改编号或重新对编号初始化!", "Edit7");
    if (!Sql::scalar("select kno from cardk where kno=:kno", {a.number}).isNull())
        throw Refused::notice("编号重复,请重新对编号初始化!");

    Sql("insert into cardk(kno,kdj,km,dzm,sfzh,dz,tel,bkrq,yj,strpath,yxrq,gzdw) "
        "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6,:tj7,:tj8,:tj9,:yxrq,:gzdw)")
        .bind(a.number)
        .bind(grade->code)
        .bind(a.cardType)
        .bind(a.name)
        .bind(a.identity)
        .bind(a.address)
        .bind(a.telephone)
        .bind(Clock::today())
        .bind(deposit)
        .bind(a.photoPath)
        .bind(validUntil)
        .bind(a.workUnit)
        .exec();
    Sql::run("delete from gsb where kno= :kno", {a.number});
    Sql::run("insert into gsb(kno,kdj,dzm,gsbz,sfzh) values(:t0,:t1,:t2,:t3,:t4)",
             {a.number, grade->code, a.name, "否", a.identity});
    Ledger::income(deposit, Ledger::Reason::deposit);
    if (!noTopUp)
        Ledger::income(topUp, Ledger::Reason::topUpAtIssue);
    Ledger::income(grade->fee, Ledger::Reason::cardFee);
    Sql("insert into jykczb(kno,dzm,yxrq,czje,czy,bz,czrq) values(:t0,:t1,:t2,:t3,:t4,:t5,:t6)")
        .bind(a.number)
        .bind(a.name)
        .bind(validUntil)
        .bind(topUp)
        .bind(Session::current().name)
        .bind("办新借阅证时充值")
        .bind(Clock::today())
        .exec();
    CardSequence::advancePast(number);
    return {number, number + 1, *grade, deposit};
}
