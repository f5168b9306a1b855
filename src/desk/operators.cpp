#include "desk/operators.h"

#include "data/passwords.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "desk/rights.h"

namespace {
constexpr const char* saveCaption = "保存提示";
constexpr const char* passwordCaption = "修改口令";

QString trimmedCode(const QString& code)
{
    return Rights::operatorCode(code);
}

void checkBoxes(const Operators::Account& account)
{
    if (trimmedCode(account.code).isEmpty())
        throw Refused(QString::fromUtf8(saveCaption), QString::fromUtf8("请先输入用户代号!"),
                      Operators::codeBox);
    if (account.name.trimmed().isEmpty())
        throw Refused(QString::fromUtf8(saveCaption), QString::fromUtf8("请先输入用户名!"),
                      Operators::nameBox);
}

QString gradeOf(const Operators::Account& account)
{
    const QString grade = account.grade.trimmed().toUpper();
    return grade.isEmpty() ? QString("A") : grade;
}

// Another operator already has this code (the superuser's code in any letter case counts
// as his, since the login reads it so).
bool codeTaken(const QString& code, const QString& except = QString())
{
    Sql q("select loginuser from userk where loginuser=:a");
    q.bind(code).exec();
    while (q.next()) {
        if (q.text("loginuser") != except)
            return true;
    }
    return false;
}
} // namespace

bool Operators::isSuperuser(const QString& code)
{
    return Rights::isSuperuser(code);
}

void Operators::add(const Account& account, const AskPassword& askPassword)
{
    checkBoxes(account);
    const QString code = trimmedCode(account.code);
    const QString password = askPassword();
    if (password.isEmpty())
        throw Refused::plain(QString::fromUtf8("密码为空，记录没有保存"));
    if (codeTaken(code))
        throw NotSaved("the login code is in use");
    Sql::run("insert into userk(loginuser,name,passw,dj) values(:a,:b,:c,:d)",
             {code, account.name.trimmed(), Passwords::hash(password), gradeOf(account)});
}

void Operators::update(const QString& originalCode, const Account& account)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    if (isSuperuser(originalCode) || isSuperuser(account.code))
        throw Refused::plain(QString::fromUtf8("超级用户不能被修改！"));
    checkBoxes(account);
    const QString code = trimmedCode(account.code);
    if (codeTaken(code, originalCode))
        throw NotSaved("the login code is in use");
    Sql::run("update userk set loginuser=:a,name=:b,dj=:c where loginuser=:d",
             {code, account.name.trimmed(), gradeOf(account), originalCode});
    if (code != originalCode) {
        // His grants follow him; any left under the new code from an earlier operator go.
        Sql::run("delete from usergrantk where loginuser=:a", {code});
        Sql::run("update usergrantk set loginuser=:a where loginuser=:b", {code, originalCode});
    }
}

void Operators::remove(const QString& code, const Ask& confirm)
{
    if (isSuperuser(code))
        throw Refused::plain(QString::fromUtf8("超级用户不能删除！"));
    if (!confirm(QString::fromUtf8("删除提示"), QString::fromUtf8("您确定要删除该用户吗？")))
        throw ActionCancelled();
    Sql::run("delete from userk where loginuser=:a", {code});
    // A later operator given the same code must not inherit these rights.
    Sql::run("delete from usergrantk where loginuser=:a", {code});
}

void Operators::setPassword(const QString& code, const QString& password)
{
    if (password.isEmpty())
        throw Refused::plain(QString::fromUtf8("密码为空，此记录没有被修改密码！"));
    Sql::run("update userk set passw=:passw where loginuser=:loginuser",
             {Passwords::hash(password), code});
}

void Operators::changeOwnPassword(const QString& code, const QString& oldPassword,
                                  const QString& newPassword, const QString& confirmation)
{
    const QString caption = QString::fromUtf8(passwordCaption);
    Sql q("select passw from userk where loginuser=:loginuser");
    q.bind(code).exec();
    if (!q.first() || !Passwords::verify(q.text("passw"), oldPassword))
        throw Refused(caption, QString::fromUtf8("您的旧口令错误，请重输旧口令"), "Edit1");
    if (newPassword != confirmation)
        throw Refused(caption, QString::fromUtf8("新口令与确定新口令不符，请重输！"), "Edit2");
    // The login asks for a password: an empty one would lock the operator out.
    if (newPassword.isEmpty())
        throw Refused(caption, QString::fromUtf8("密码不能为空！"), "Edit2");
    Sql::run("update userk set passw=:passw where loginuser=:loginuser",
             {Passwords::hash(newPassword), code});
}
