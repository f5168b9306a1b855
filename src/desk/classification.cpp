#include "desk/classification.h"

#include "data/sql.h"
#include "desk/refused.h"

namespace {
bool isNode(const QString& id)
{
    return Sql::scalar("select count(*) as expr1001 from bmdyb where type_id= :type_id", {id})
               .toInt() > 0;
}

void addNode(const QString& id, const QString& name, const QString& parent)
{
    Sql::run("insert into bmdyb(type_id,type_name,type_from_id)\n values(:t0,:t1,:t2)",
             {id, name, parent});
}

// A node goes when no pair uses its code, as a first-level or a second-level code
// (the two levels share one set of node ids).
void dropNodeIfUnused(const QString& code)
{
    if (code.isEmpty())
        return;
    const int used =
        Sql::scalar("select count(*) as expr1001 from tsflm where dldm= :dldm", {code}).toInt() +
        Sql::scalar("select count(*) as expr1001 from tsflm where mxldm= :t1", {code}).toInt();
    if (used == 0)
        Sql::run("delete from bmdyb where type_id= :t0", {code});
}
} // namespace

void Classification::save(const ClassPair& pair)
{
    const QList<std::pair<QString, const char*>> boxes{{pair.firstCode, "Edit1"},
                                                       {pair.firstName, "Edit2"},
                                                       {pair.secondCode, "Edit3"},
                                                       {pair.secondName, "Edit4"}};
    for (const auto& [text, box] : boxes) {
        if (text.isEmpty())
            throw Refused::plain(incompleteText, box);
    }
    Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc)\n values(:t0,:t1,:t2,:t3,:t4)",
             {"aa", pair.firstCode, pair.firstName, pair.secondCode, pair.secondName});
    if (!isNode(pair.firstCode))
        addNode(pair.firstCode, pair.firstName, "0");
    if (!isNode(pair.secondCode))
        addNode(pair.secondCode, pair.secondName, pair.firstCode);
}

void Classification::remove(qint64 iid, const Ask& ask)
{
    Sql row("select dldm,mxldm from tsflm where iid= :iid");
    row.bind(iid).exec();
    if (!row.next())
        throw Refused::plain(nothingToDeleteText);
    const QString firstCode = row.text("dldm");
    const QString secondCode = row.text("mxldm");
    if (!ask(QString::fromUtf8("提示"), QString::fromUtf8("您确定要删除此条记录吗？")))
        throw ActionCancelled();
    Transaction::beginWriting();
    if (Sql::scalar("select iid from tsflm where iid= :iid", {iid}).isNull())
        throw Refused::plain(nothingToDeleteText);
    Sql::run("delete from tsflm where iid= :iid", {iid});
    dropNodeIfUnused(firstCode);
    dropNodeIfUnused(secondCode);
}

QString Classification::firstLevelName(const QString& code)
{
    Sql q("select dlmc from tsflm where dldm= :dldm");
    q.bind(code).exec();
    return q.next() ? q.text("dlmc") : QString();
}

void Classification::addStandard(const StandardPair& pair)
{
    for (const QString& text :
         {pair.baseClass, pair.firstCode, pair.firstName, pair.secondCode, pair.secondName}) {
        if (text.isEmpty())
            throw Refused(QString::fromUtf8("提示"), standardIncompleteText, "Jlm");
    }
    Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values(:t0,:t1,:t2,:t3,:t4)",
             {pair.baseClass, pair.firstCode.toUpper(), pair.firstName, pair.secondCode.toUpper(),
              pair.secondName});
}

Listing Classification::standardRows(const std::optional<StandardPair>& c)
{
    Listing rows{"select * from tsflm", {}};
    if (!c)
        return rows;
    rows.statement += " where jlm<>''"; // a blank base class is no base class
    auto add = [&](const QString& text, const QString& condition, const QString& value) {
        if (text.isEmpty())
            return;
        rows.statement += QString(" and %1:p%2").arg(condition).arg(rows.values.size());
        rows.values << value;
    };
    add(c->baseClass, "jlm like", "%" + c->baseClass + "%");
    add(c->firstCode, "dldm=", c->firstCode);
    add(c->firstName, "dlmc like", "%" + c->firstName + "%");
    add(c->secondCode, "mxldm like", "%" + c->secondCode + "%");
    add(c->secondName, "mxlmc like", "%" + c->secondName + "%");
    return rows;
}

void Classification::correctStandard(qint64 iid, const QString& column, const QString& text)
{
    static const QStringList columns{"jlm", "dldm", "dlmc", "mxldm", "mxlmc"};
    const QString name = column.toLower();
    if (!columns.contains(name))
        throw Refused(QString::fromUtf8("提示"), "此列不能修改。");
    if (Sql::scalar("select jlm from tsflm where iid=:iid", {iid}).toString() == "aa")
        throw Refused(QString::fromUtf8("提示"), "此分类码由图书分类设置维护，请在那里修改。");
    const bool code = name == "dldm" || name == "mxldm";
    Sql::run(QString("update tsflm set %1=:v where iid=:iid").arg(name),
             {code ? text.toUpper() : text, iid});
}
