#include "desk/cardsequence.h"

#include "data/sql.h"

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

void CardSequence::set(const QString& number, const QString& type)
{
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
