#include "desk/periodicals.h"

#include "data/dates.h"
#include "data/pinyin.h"
#include "data/sql.h"
#include "desk/refused.h"

namespace {
constexpr const char* lookUpColumns = "select iid,mc,kh,lx,cbrq,cbsmc,pyzjh from zzqk";

Periodical read(const Sql& q)
{
    Periodical p;
    p.id = q.value("iid").toLongLong();
    p.name = q.text("mc");
    p.issue = q.text("kh");
    p.type = q.text("lx");
    p.date = q.date("cbrq");
    p.publisher = q.text("cbsmc");
    p.mnemonic = q.text("pyzjh");
    return p;
}
} // namespace

QString Periodicals::mnemonicOf(const QString& text)
{
    return Pinyin::initials(text.trimmed()).toUpper();
}

void Periodicals::registerIssue(const PeriodicalEntry& e)
{
    if (e.type.isEmpty() || e.name.isEmpty() || e.issue.isEmpty() || e.date.isEmpty() ||
        e.publisher.isEmpty())
        throw Refused::notice("请确定以上栏目都已填写!");
    const QDate date = Dates::parse(e.date);
    if (!date.isValid())
        throw Refused::notice("日期格式错误", "Edit3");

    const int known =
        Sql::scalar("select count(*) as expr1001 from cbsxxk where cbsmc= :cbsmc", {e.publisher})
            .toInt();
    if (known == 0)
        Sql::run("insert into cbsxxk(pyzjh,cbsmc) values(:t0,:t1)",
                 {mnemonicOf(e.publisher), e.publisher});
    Sql("insert into zzqk(mc,kh,cbrq,lx,bz,cbsmc,pyzjh) "
        "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6)")
        .bind(e.name)
        .bind(e.issue)
        .bind(date)
        .bind(e.type)
        .bind(e.remarks)
        .bind(e.publisher)
        .bind(e.mnemonic.toUpper())
        .exec();
}

Selection Periodicals::registerQuery(const QString& type, const QString& mnemonic,
                                     const QString& publisher)
{
    Selection s{"select lx,mc,kh,cbrq,cbsmc,pyzjh,iid from zzqk where lx like :lx", {type + "%"}};
    if (!mnemonic.isEmpty()) {
        s.statement += " and pyzjh like :pyzjh";
        s.values << mnemonic + "%";
    }
    if (!publisher.isEmpty()) {
        s.statement += " and cbsmc like :cbsmc";
        s.values << publisher + "%";
    }
    s.statement += " order by iid";
    return s;
}

Selection Periodicals::matching(const QString& type, const QString& mnemonicPrefix)
{
    if (type.isEmpty())
        throw Refused::plain("类型不能为空！", "ComboBox1");
    return {QString(lookUpColumns) + " where lx= :lx and pyzjh like :pyzjh order by iid",
            {type, mnemonicPrefix + "%"}};
}

int Periodicals::countUpTo(const Selection& selection, int limit)
{
    Sql q("select count(*) as expr1001 from (" + selection.statement + " limit :limit)");
    q.bindAll(selection.values).bind(limit).exec();
    q.next();
    return q.integer("expr1001");
}

Periodical Periodicals::first(const Selection& selection)
{
    Sql q(selection.statement + " limit 1");
    q.bindAll(selection.values).exec();
    return q.next() ? read(q) : Periodical{};
}

Periodical Periodicals::byId(qint64 id)
{
    Sql q(QString(lookUpColumns) + " where iid= :iid");
    q.bind(id).exec();
    return q.next() ? read(q) : Periodical{};
}
