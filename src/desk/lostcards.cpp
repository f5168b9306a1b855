#include "desk/lostcards.h"

#include "data/sql.h"
#include "desk/refused.h"

namespace {
struct Wording {
    const char* from; // the flag the card must have
    const char* to;   // the flag it gets
    const char* notFound;
    const char* question;
};

Wording wording(LostCards::Change change)
{
    if (change == LostCards::Change::Report)
        return {LostCards::notLost, LostCards::lost, "没有找到您需要的记录(或者已经挂失了)",
                "您确定要挂失此张借书证吗？"};
    return {LostCards::lost, LostCards::notLost, "没有找到您需要的记录(或者是此卡没有挂失过)",
            "您确定要解挂失此张借书证吗？"};
}
} // namespace

QString LostCards::lookUp(const QString& number, const QString& identity)
{
    Sql q("select * from gsb where kno= :kno and sfzh= :sfzh");
    q.bind(number).bind(identity).exec();
    if (!q.first())
        throw Refused::plain("没有找到您需要的记录");
    return q.text("dzm");
}

void LostCards::change(Change change, const QString& number, const QString& identity,
                       const Ask& ask, const std::function<void(const QString&)>& found)
{
    if (number.isEmpty())
        throw Refused::plain("请输入借书证编号", "Edit1");
    if (identity.isEmpty())
        throw Refused::plain("请输入身份证号", "Edit2");
    const Wording w = wording(change);
    Sql q("select * from gsb where kno= :kno and sfzh= :sfzh and gsbz= :gsbz");
    q.bind(number).bind(identity).bind(w.from).exec();
    if (!q.first())
        throw Refused::plain(w.notFound);
    if (found)
        found(q.text("dzm"));
    if (!ask("询问", w.question))
        throw ActionCancelled{};
    // Another desk may have changed the card's state while the question was open.
    Transaction::beginWriting();
    if (Sql::scalar("select kno from gsb where kno= :kno and sfzh= :sfzh and gsbz= :gsbz",
                    {number, identity, w.from})
            .isNull())
        throw Refused::plain(w.notFound);
    Sql::run("update gsb set gsbz= :gsbz where kno= :kno", {w.to, number});
}

bool LostCards::isLost(const QString& number)
{
    return !Sql::scalar("select kno from gsb where kno= :kno  and gsbz= :gsbz", {number, lost})
                .isNull();
}

LostCardSelection::LostCardSelection(const QString& numberPrefix, const QString& name,
                                     const QString& status)
    : m_prefix(numberPrefix), m_name(name), m_status(status)
{
}

QString LostCardSelection::statement() const
{
    QString statement = "select * from gsb where kno like :kno";
    if (!m_name.isEmpty())
        statement += " and dzm= :dzm";
    if (!m_status.isEmpty())
        statement += " and gsbz= :gsbz";
    return statement + " order by kno";
}

QVariantList LostCardSelection::values() const
{
    QVariantList values{m_prefix + "%"};
    if (!m_name.isEmpty())
        values << m_name;
    if (!m_status.isEmpty())
        values << m_status;
    return values;
}
