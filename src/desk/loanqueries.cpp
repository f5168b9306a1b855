#include "desk/loanqueries.h"

#include "data/sql.h"
#include "desk/refused.h"

#include <QMap>

namespace {
// The loan columns are qualified: the title and the card tables have columns of the same
// names.
constexpr const char* listed =
    "select dzjsmxk.Kno as Kno,Dzm,Tsmc,dzjsmxk.Txm as Txm,Jsrq,Jsjsr,Hsrq,Hsjsr,"
    "dzjsmxk.Sfsh as Sfsh,Xjcs,"
    // How many of the loan's renewals the reader made in the web catalogue.
    "(select count(*) from wsxjk where wsxjk.iid=dzjsmxk.iid) as Wsxj from dzjsmxk,tszk,cardk "
    "where dzjsmxk.txm=tszk.txm and dzjsmxk.KNo=cardk.KNo ";

constexpr const char* byCard = " order by dzjsmxk.KNo";

constexpr const char* operatorsOnly = "select * from userk where loginuser<>\"SA\"";

const QMap<QString, QString>& sortClauses()
{
    static const QMap<QString, QString> clauses{
        {"kno", " order by dzjsmxk.KNo"}, {"dzm", " order by dzm"},
        {"tsmc", " order by tsmc"},       {"jsrq", " order by jsrq"},
        {"jsjsr", " order by jsjsr"},     {"hsrq", " order by hsrq"},
        {"hsjsr", " order by hsjsr"},     {"sfsh", " order by dzjsmxk.sfsh"},
        {"xjcs", " order by xjcs"},       {"wsxj", " order by wsxj"},
    };
    return clauses;
}

bool isOperator(const QString& name)
{
    Sql q(QString(operatorsOnly) + " and Name=:Name");
    q.bind(name).exec();
    return q.next();
}

Listing overdueRows(const QString& columns, const QString& order, const QString& cardPrefix,
                    const QDate& today)
{
    return {"select " + columns +
                " from dzjsmxk,tszk where dzjsmxk.txm=tszk.txm and dzjsmxk.kno like :kno "
                "and hsrq< :hsrq and hsjsr is null  order by " +
                order,
            {cardPrefix + "%", today}};
}
} // namespace

LoanSelection LoanSelection::all()
{
    return {};
}

LoanSelection LoanSelection::matching(const LoanConditions& c)
{
    LoanSelection s;
    const auto text = [&s](const QString& condition, const QString& value,
                           const QString& pattern = "%1") {
        if (!value.isEmpty())
            s.add(condition, pattern.arg(value));
    };
    const auto date = [&s](const QString& condition, const QDate& value) {
        if (value.isValid())
            s.add(condition, value);
    };
    text(" and dzjsmxk.Kno=:kno", c.card);
    text(" and dzm like :dzm", c.name, "%1%");
    text(" and tsmc like :tsmc", c.title, "%%1%");
    text(" and dzjsmxk.txm like :txm", c.barcode, "%%1%");
    text(" and dzjsmxk.sfsh=:sfsh", c.damaged);
    date(" and jsrq>=:tj", c.lentFrom);
    date(" and jsrq<=:tj1", c.lentTo);
    date(" and hsrq>=:tj2", c.returnFrom);
    date(" and hsrq<=:tj3", c.returnTo);
    text(" and jsjsr=:jsjsr", c.lender);
    text(" and hsjsr=:hsjsr", c.returner);
    s.m_order = byCard;
    return s;
}

LoanSelection LoanSelection::openLoansOf(const QString& card, const QString& prefix)
{
    LoanSelection s;
    s.add(" and dzjsmxk.Kno=:kno", card);
    s.add(" and dzjsmxk.txm like :txm", prefix + "%");
    s.m_where += " and hsjsr is null";
    s.m_order = byCard;
    return s;
}

void LoanSelection::add(const QString& condition, const QVariant& value)
{
    m_where += condition;
    m_values << value;
}

LoanSelection LoanSelection::sortedBy(const QString& column) const
{
    LoanSelection sorted = *this;
    const auto clause = sortClauses().constFind(column.toLower());
    if (clause != sortClauses().constEnd())
        sorted.m_order = *clause;
    return sorted;
}

Listing LoanSelection::listing() const
{
    return {QString(listed).trimmed() + m_where + m_order, m_values};
}

QStringList LoanQueries::operatorNames()
{
    Sql q(operatorsOnly);
    q.exec();
    QStringList names;
    while (q.next())
        names << q.text("Name");
    return names;
}

void LoanQueries::check(const LoanConditions& c)
{
    if (!c.damaged.isEmpty() && c.damaged != "Y" && c.damaged != "N")
        throw Refused("查询提示", "您输入的查询条件中\"是否损坏\"必须为\"Y\"或\"N\".", "ComboBox1");
    const QString unknown = "没有该操作员名称，请确定后重新输入。";
    if (!c.lender.isEmpty() && !isOperator(c.lender))
        throw Refused("查询提示", unknown, "ComboBox2");
    if (!c.returner.isEmpty() && !isOperator(c.returner))
        throw Refused("查询提示", unknown, "ComboBox3");
}

Listing LoanQueries::overdue(const QString& cardPrefix, const QDate& today)
{
    return overdueRows("dzjsmxk.kno as kno,tsmc,jsrq,jsjsr,hsrq,xjcs,dzjsmxk.txm as txm",
                       "dzjsmxk.kno", cardPrefix, today);
}

Listing LoanQueries::overdueExport(const QString& cardPrefix, const QDate& today)
{
    return overdueRows("dzjsmxk.kno as 借阅卡号,tsmc as 图书名称,jsrq as 借阅日期,jsjsr as "
                       "借书经手人,hsrq as 应还书日期,xjcs as 续借次数",
                       "hsrq", cardPrefix, today);
}
