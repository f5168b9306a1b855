#include "desk/rights.h"

#include "data/sql.h"
#include "desk/ask.h"
#include "desk/refused.h"

namespace {
QList<Rights::Entry> entries(Sql& q, const char* key, const char* caption)
{
    q.exec();
    QList<Rights::Entry> list;
    while (q.next())
        list.append({q.text(key), q.text(caption)});
    return list;
}

bool held(const QString& code, const QString& key)
{
    Sql q("select * from usergrantk where funename=:tj1 and loginuser=:tj2");
    q.bind(key).bind(code).exec();
    return !q.isEmpty();
}

void add(const QString& code, const QString& key, const QString& caption)
{
    if (held(code, key))
        return;
    Sql::run("insert into usergrantk(loginuser,funename,funcname) values(:a,:b,:c)",
             {code, key, caption});
}

// The group a function belongs to, or nothing when the catalogue lacks the function.
bool functionEntry(const QString& functionKey, Rights::Entry* function, Rights::Entry* group)
{
    Sql q("select subfunk.funcename,subfunk.funccname,funk.ownerename,funk.ownercname "
          "from subfunk,funk where subfunk.ownerename=funk.ownerename and "
          "subfunk.funcename=:tj");
    q.bind(functionKey).exec();
    if (!q.first())
        return false;
    *function = {q.text("funcename"), q.text("funccname")};
    *group = {q.text("ownerename"), q.text("ownercname")};
    return true;
}

// Grants go only to an operator `userk` holds.
QString grantee(const QString& typed)
{
    const QString code = Rights::operatorCode(typed);
    if (code.isEmpty() || !Rights::operatorExists(code))
        throw ActionCancelled();
    return code;
}

QString revokedFrom(const QString& typed)
{
    if (Rights::isSuperuser(typed))
        throw Refused::plain(QString::fromUtf8("超级用户权限不能被删除！"));
    return Rights::operatorCode(typed);
}
} // namespace

QString Rights::operatorCode(const QString& typed)
{
    const QString code = typed.trimmed();
    return code.compare(QLatin1String(superuserCode), Qt::CaseInsensitive) == 0
               ? QString::fromLatin1(superuserCode)
               : code;
}

bool Rights::isSuperuser(const QString& typed)
{
    return operatorCode(typed) == QLatin1String(superuserCode);
}

bool Rights::operatorExists(const QString& code)
{
    Sql q("select loginuser from userk where loginuser=:tj");
    q.bind(code).exec();
    return !q.isEmpty();
}

QString Rights::operatorName(const QString& typed)
{
    const QString code = operatorCode(typed);
    if (code.isEmpty())
        return {};
    // The exact operator first; otherwise the first whose code begins with the text.
    Sql exact("select name from userk where loginuser=:tj");
    exact.bind(code).exec();
    if (exact.first())
        return exact.text("name");
    Sql q("select loginuser,name from userk where loginuser like:tj order by loginuser");
    q.bind(code + "%").exec();
    return q.first() ? q.text("name") : QString();
}

QStringList Rights::operatorCodes()
{
    Sql q("select loginuser,name from  userk order by loginuser");
    q.exec();
    QStringList codes;
    while (q.next())
        codes << q.text("loginuser").trimmed();
    return codes;
}

QList<Rights::Entry> Rights::groups()
{
    Sql q("select * from funk order by bm,ownerename");
    return entries(q, "ownerename", "ownercname");
}

QList<Rights::Entry> Rights::functions(const QString& groupKey)
{
    Sql q("select * from subfunk where ownerename=:tj order by ownerename,funcename");
    q.bind(groupKey);
    return entries(q, "funcename", "funccname");
}

QList<Rights::Entry> Rights::grants(const QString& code)
{
    Sql q("select * from usergrantk where loginuser=:tj order by rowid");
    q.bind(operatorCode(code));
    return entries(q, "funename", "funcname");
}

void Rights::grantGroup(const QString& typed, const QString& groupKey)
{
    Transaction::beginWriting();
    const QString code = grantee(typed);
    Sql q("select ownerename,ownercname from funk where ownerename=:tj");
    q.bind(groupKey).exec();
    if (!q.first())
        return;
    const Entry group{q.text("ownerename"), q.text("ownercname")};
    for (const Entry& function : functions(group.key))
        add(code, function.key, function.caption);
    add(code, group.key, group.caption);
}

void Rights::grantFunction(const QString& typed, const QString& functionKey)
{
    Transaction::beginWriting();
    const QString code = grantee(typed);
    Entry function, group;
    if (!functionEntry(functionKey, &function, &group))
        return;
    if (held(code, function.key))
        throw Refused(QString::fromUtf8("提示"), QString::fromUtf8("该用户已具有此项功能！"));
    add(code, function.key, function.caption);
    add(code, group.key, group.caption);
}

void Rights::grantAll(const QString& typed)
{
    Transaction::beginWriting();
    const QString code = grantee(typed);
    Sql::run("delete from usergrantk where loginuser=:loginuser", {code});
    for (const Entry& group : groups()) {
        add(code, group.key, group.caption);
        for (const Entry& function : functions(group.key))
            add(code, function.key, function.caption);
    }
}

void Rights::revoke(const QString& typed, const QString& key)
{
    Transaction::beginWriting();
    const QString code = revokedFrom(typed);
    Sql::run("delete from usergrantk where loginuser=:a and funename=:b", {code, key});
}

void Rights::revokeAll(const QString& typed)
{
    Transaction::beginWriting();
    const QString code = revokedFrom(typed);
    Sql::run("delete from usergrantk where loginuser=:loginuser", {code});
}
