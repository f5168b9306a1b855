#include "desk/cardsequence.h"

#include "data/sql.h"
#include "desk/refused.h"

#include <QRegularExpression>

bool CardSequence::ready()
{
    const Next next = current();
    return !next.number.isEmpty() || !next.type.isEmpty();
}

CardSequence::Next CardSequence::current()
{
    Sql q("select * from jszxh");
    q.exec();
    if (!q.first())
        return {};
    return {q.text("jszxh"), q.text("lx")};
}

bool CardSequence::isTaken(const QString& number)
{
    return !Sql::scalar("select kno from cardk where kno=:tj1", {number}).isNull();
}

void CardSequence::start(const QString& number, const QString& type)
{
    if (number.isEmpty())
        throw Refused::notice("请输入编号");
    static const QRegularExpression allDigits("^[0-9]+$");
    if (!allDigits.match(number).hasMatch())
        throw Refused::notice("编号只能由数字组成，请重输！", "Edit1");
    if (isTaken(number))
        throw Refused("提示", "有读者已存在此编号，请重输！");
    Sql q("select * from jszxh");
    q.exec();
    if (q.first())
        Sql::run("update jszxh set jszxh=:tj1,lx=:tj2", {number, type});
    else
        Sql::run("insert into jszxh values(:jszxh,:lx)", {number, type});
}

void CardSequence::advancePast(qint64 number)
{
    Sql::run("update jszxh set jszxh=:tj1", {QString::number(number + 1)});
}

bool CardSequence::numberValue(const QString& text, qint64* value)
{
    static const QRegularExpression digits("^[0-9]{1,12}$");
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toLongLong();
    return true;
}
