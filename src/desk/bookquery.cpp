#include "desk/bookquery.h"

#include "data/dates.h"
#include "data/sql.h"
#include "desk/refused.h"

namespace {
constexpr const char* noticeCaption = "提示信息";

enum class Match { Begins, Contains, Equals };

struct Condition {
    const char* column;
    const char* placeholder;
    Match match;
};

// The conditions in the order their lines go into the statement.
BookQueryStatement build(const QString& head, const BookQueryConditions& c)
{
    BookQueryStatement s;
    s.lines << head;
    const auto add = [&s](const QString& fragment, const QVariant& value) {
        s.lines << (s.lines.size() == 1 ? "where " : " and ") + fragment;
        s.values << value;
    };
    const auto text = [&add](const QString& typed, const Condition& condition) {
        if (typed.isEmpty())
            return;
        const QString column = QString("tszk.") + condition.column;
        switch (condition.match) {
        case Match::Begins:
            add(column + " like :" + condition.placeholder, typed + "%");
            break;
        case Match::Contains:
            add(column + " like :" + condition.placeholder, "%" + typed + "%");
            break;
        case Match::Equals:
            add(column + "=:" + condition.placeholder, typed);
            break;
        }
    };
    text(c.secondLevelCode, {"mxflm", "mxflm", Match::Begins});
    text(c.barcode, {"txm", "txm", Match::Begins});
    text(c.title, {"tsmc", "tsmc", Match::Begins});
    text(c.author, {"zz", "zz", Match::Contains});
    text(c.cataloguer, {"bmr", "bmr", Match::Begins});
    if (c.catalogued.isValid())
        add("tszk.bmrq=:tj1", c.catalogued);
    if (c.published.isValid())
        add("tszk.cbsj=:tj2", c.published);
    text(c.publisher, {"cbsmc", "cbsmc", Match::Contains});
    text(c.series, {"xlm", "xlm", Match::Contains});
    text(c.mnemonic, {"pyzjh", "pyzjh", Match::Contains});
    text(c.language, {"yz", "yz", Match::Begins});
    text(c.firstLevel, {"flmc", "flmc", Match::Begins});
    text(c.secondLevel, {"mxflm", "mxflm2", Match::Begins});
    text(c.shelf, {"fsjh", "fsjh", Match::Equals});
    if (c.pages)
        add("tszk.tsym=:tj3", *c.pages);
    return s;
}
} // namespace

BookQueryStatement BookQuery::statement(const BookQueryConditions& conditions)
{
    return build("select * from tszk ", conditions);
}

BookQueryStatement BookQuery::countStatement(const BookQueryConditions& conditions)
{
    return build("select count(*) from tszk ", conditions);
}

int BookQuery::count(const BookQueryConditions& conditions)
{
    const BookQueryStatement s = countStatement(conditions);
    return Sql::scalar(s.text(), s.values).toInt();
}

QStringList BookQuery::correctableColumns()
{
    return {"tsmc", "zz", "bmr", "bmrq", "cbsj", "cbsmc", "mxflm", "xlm", "yz", "fsjh", "tsym"};
}

void BookQuery::correct(const QString& barcode, const QMap<QString, QString>& changes)
{
    if (changes.isEmpty())
        return;
    QStringList assignments;
    QVariantList values;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        const QString& column = it.key();
        if (!correctableColumns().contains(column))
            throw Refused(noticeCaption, QString("%1 不能修改").arg(column));
        const QString typed = it.value().trimmed();
        QVariant value = it.value();
        if (column == "bmrq" || column == "cbsj") {
            const QDate date = Dates::parse(typed);
            if (!typed.isEmpty() && !date.isValid())
                throw Refused(noticeCaption, "日期格式错误!", column);
            value = typed.isEmpty() ? QVariant() : QVariant(Dates::toText(date));
        } else if (column == "tsym") {
            bool ok = false;
            const int pages = typed.toInt(&ok);
            if (!typed.isEmpty() && (!ok || pages < 0 || pages > 32767))
                throw Refused(noticeCaption, "请输入数字！", column);
            value = typed.isEmpty() ? QVariant() : QVariant(pages);
        }
        assignments << QString("%1=:v%2").arg(column).arg(assignments.size());
        values << value;
    }
    values << barcode;
    Sql("update tszk set " + assignments.join(',') + " where txm=:txm").bindAll(values).exec();
}
