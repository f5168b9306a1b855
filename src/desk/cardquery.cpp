#include "desk/cardquery.h"

#include "data/dates.h"
#include "data/sql.h"
#include "desk/cardrecord.h"
#include "desk/grades.h"
#include "desk/refused.h"

#include <QStringList>

CardSelection::CardSelection(const CardConditions& conditions) : m_conditions(conditions) {}

QString CardSelection::where() const
{
    QStringList parts;
    if (!m_conditions.number.isEmpty())
        parts << "kno=:kno";
    if (!m_conditions.name.isEmpty())
        parts << "dzm=:dzm";
    if (m_conditions.from.isValid()) {
        if (m_conditions.to.isValid())
            parts << "bkrq>=:tj1 and bkrq<=:tj2";
        else
            parts << "bkrq=:tj1";
    }
    return parts.isEmpty() ? QString() : " where " + parts.join(" and ");
}

QVariantList CardSelection::values() const
{
    QVariantList values;
    if (!m_conditions.number.isEmpty())
        values << m_conditions.number;
    if (!m_conditions.name.isEmpty())
        values << m_conditions.name;
    if (m_conditions.from.isValid()) {
        values << Dates::toText(m_conditions.from);
        if (m_conditions.to.isValid())
            values << Dates::toText(m_conditions.to);
    }
    return values;
}

QString CardSelection::statement() const
{
    return "select * from cardk" + where() + " order by kno";
}

CardSelection::Summary CardSelection::summary() const
{
    // Summed in ten-thousandths as integers: 0.1 + 0.1 + 0.1 is 0.3, not 0.30000000000000004.
    Sql q("select count(*) as n, sum(cast(round(yj*10000) as integer)) as units from cardk" +
          where());
    q.bindAll(values()).exec();
    Summary summary;
    if (q.first()) {
        summary.count = q.integer("n");
        summary.deposits = Money::fromUnits(q.value("units").toLongLong());
    }
    return summary;
}

bool CardQuery::isCorrectable(const QString& column)
{
    static const QStringList columns = {"kdj",  "dzm", "sfzh", "yj",  "yxrq",
                                        "bkrq", "tel", "dz",   "gzdw"};
    return columns.contains(column);
}

void CardQuery::correct(const QString& number, const QMap<QString, QString>& changes)
{
    if (changes.isEmpty())
        return;
    QStringList assignments;
    QVariantList values;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        const QString& column = it.key();
        const QString& text = it.value();
        if (!isCorrectable(column))
            throw Refused::notice("借书证编号不能修改!");
        QVariant value = text;
        if (column == "bkrq" || column == "yxrq") {
            const QDate date = Dates::parse(text);
            if (!date.isValid())
                throw Refused::notice("日期格式错误!");
            value = Dates::toText(date);
        } else if (column == "yj") {
            bool ok = true;
            const Money deposit = text.isEmpty() ? Money() : Money::fromText(text, &ok);
            if (!ok || deposit < Money())
                throw Refused::notice("押金输入格式错误,请重新输入!");
            value = deposit.toDouble();
        } else if (column == "kdj") {
            if (!Grades::find(text))
                throw Refused::notice("查无此等级!");
        } else if (column == "sfzh") {
            if (text.size() > CardRecords::identityLength)
                throw Refused::notice("身份证号最多18位!");
        }
        assignments << column + "=:v" + QString::number(values.size());
        values << value;
    }
    values << number;
    Sql update("update cardk set " + assignments.join(",") + " where kno=:kno");
    update.bindAll(values).exec();
    if (update.rowsAffected() == 0)
        throw Refused::notice("没有查找到你所需的记录,请重新输入!");
}
