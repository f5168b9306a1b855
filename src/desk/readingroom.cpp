#include "desk/readingroom.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/sql.h"
#include "desk/refused.h"

namespace {
constexpr const char* cardBox = "Edit4";

void require(const QString& text, const char* message, const char* box)
{
    if (text.isEmpty())
        throw Refused::notice(QString::fromUtf8(message), box);
}
} // namespace

ReadingRoom::Reader ReadingRoom::lookUpCard(const QString& card)
{
    Sql lost("select * from gsb where kno= :kno  and gsbz= :gsbz");
    lost.bind(card).bind("是").exec();
    if (lost.next())
        throw Refused::plain("此借书证已经挂失,不能借书", cardBox);
    Sql q("select dzm,strpath from cardk where kno=:tj1");
    q.bind(card).exec();
    if (!q.next())
        throw Refused::notice("此借阅证未登记，请重新输入！", cardBox);
    return {q.text("dzm"), q.text("strpath")};
}

void ReadingRoom::lend(const Loan& loan)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    require(loan.name, "请输入杂志期刊或报纸名称!", "Edit1");
    require(loan.issue, "请输入期刊号!", "Edit2");
    require(loan.date, "请输入出版日期!", "Edit3");
    require(loan.type, "请选择类型!", "ComboBox1");
    require(loan.card, "请输入借阅证编码!", cardBox);
    require(loan.readerName, "请输入借阅人姓名!", "Edit5");
    const QDate date = Dates::parse(loan.date);
    if (!date.isValid())
        throw Refused::notice("日期格式错误", "Edit3");
    // The card box may have been changed without leaving it: check the card written.
    lookUpCard(loan.card);

    Sql held("select * from  zzqkztk where kno=:tj1");
    held.bind(loan.card).exec();
    if (held.next())
        throw Refused::notice("该读者所借刊物未归还，不能再借!");
    // An issue registered twice (two copies) may go to two readers, never to more.
    const int copies = Sql::scalar("select count(*) as expr1001 from zzqk where mc=:mc and kh=:kh",
                                   {loan.name, loan.issue})
                           .toInt();
    const int out = Sql::scalar("select count(*) as expr1001 from zzqkztk where mc=:mc and kh=:kh",
                                {loan.name, loan.issue})
                        .toInt();
    if (out >= qMax(1, copies))
        throw Refused::notice("该刊物已借出，不能再借!");

    Sql("insert into zzqkztk(mc,kh,lx,cbrq,dzm,kno,jyrq,cbsmc) "
        "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6,:tj7)")
        .bind(loan.name)
        .bind(loan.issue)
        .bind(loan.type)
        .bind(date)
        .bind(loan.readerName)
        .bind(loan.card)
        .bind(Clock::today())
        .bind(loan.publisher)
        .exec();
}

void ReadingRoom::giveBack(const QString& name, const QString& issue, const QString& card)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    require(name, "请输入杂志期刊或报纸名称!", "Edit1");
    require(issue, "请输入期刊号!", "Edit2");
    Sql q("select rowid as rid,kno from zzqkztk where mc=:tj1 and kh=:tj2");
    q.bind(name).bind(issue).exec();
    QList<qint64> rows;
    qint64 cardRow = 0;
    while (q.next()) {
        rows << q.value("rid").toLongLong();
        if (!card.isEmpty() && q.text("kno") == card && cardRow == 0)
            cardRow = rows.last();
    }
    if (rows.isEmpty())
        throw Refused::notice("该刊物未出借!");
    // Several readers hold the issue: only the one at the desk gives it back.
    const qint64 row = rows.size() == 1 ? rows.first() : cardRow;
    if (row == 0)
        throw Refused::notice("请输入借阅证编码!", cardBox);
    Sql::run("delete from zzqkztk where rowid=:rid", {row});
}

bool ReadingRoom::Conditions::isEmpty() const
{
    return name.isEmpty() && type.isEmpty() && issue.isEmpty() && date.isEmpty() &&
           publisher.isEmpty() && mnemonic.isEmpty();
}

Selection ReadingRoom::issuesOut(const Conditions& c)
{
    Selection s{"select mc,kh,cbrq,lx,dzm,kno,cbsmc,jyrq from zzqkztk where 1=1", {}};
    if (!c.name.isEmpty()) {
        s.statement += " and mc like :mc";
        s.values << c.name + "%";
    }
    if (!c.type.isEmpty()) {
        s.statement += " and lx=:lx";
        s.values << c.type;
    }
    if (!c.issue.isEmpty()) {
        s.statement += " and kh=:kh";
        s.values << c.issue;
    }
    if (!c.date.isEmpty()) {
        const QDate date = Dates::parse(c.date);
        if (!date.isValid())
            throw Refused::notice("日期格式错误!", "Edit3");
        s.statement += " and cbrq=:tj ";
        s.values << date;
    }
    if (!c.publisher.isEmpty()) {
        s.statement += " and cbsmc like :cbsmc";
        s.values << c.publisher + "%";
    }
    if (!c.mnemonic.isEmpty()) {
        s.statement += " and exists (select 1 from zzqk where zzqk.mc=zzqkztk.mc and "
                       "zzqk.pyzjh like :pyzjh)";
        s.values << c.mnemonic + "%";
    }
    return s;
}

QString ReadingRoom::nothingFoundText(const Conditions& c)
{
    return c.isEmpty() ? QString::fromUtf8("阅览室中无出借刊物!")
                       : QString::fromUtf8("该种刊物无读者借阅!");
}
