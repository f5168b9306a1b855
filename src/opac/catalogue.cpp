#include "opac/catalogue.h"

#include "data/paths.h"
#include "data/storeerror.h"

#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QVariantList>

namespace {
QMutex namesLock;
QStringList openNames;

// `like` treats % and _ as wildcards: a typed one is just a character.
QString likeEscaped(const QString& text)
{
    QString out = text;
    out.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
    return out;
}

QString phrase(const QString& text)
{
    QString quoted = text;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QSqlQuery run(const QString& statement, const QVariantList& values)
{
    QSqlQuery q(Catalogue::connection());
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw StoreError(q.lastError().text(), statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw StoreError(q.lastError().text(), statement);
    return q;
}

constexpr const char* titleColumns =
    "tszk.txm, tszk.tsmc, tszk.zz, tszk.cbsmc, tszk.cbsj, tszk.mxflm, tszk.fsjh, tszk.isbn, "
    "tszk.bs, tszk.jcs, (select tssmc from tssxxk where tssbh=tszk.scddbh limit 1) as room";

Catalogue::Title titleOf(const QSqlQuery& q)
{
    Catalogue::Title t;
    t.barcode = q.value(0).toString();
    t.title = q.value(1).toString();
    t.author = q.value(2).toString();
    t.publisher = q.value(3).toString();
    t.published = q.value(4).toString();
    t.classCode = q.value(5).toString();
    t.shelf = q.value(6).toString();
    t.isbn = q.value(7).toString();
    t.copies = q.value(8).toInt();
    t.lent = q.value(9).toInt();
    t.room = q.value(10).toString();
    return t;
}

struct Condition {
    QString text;
    QVariantList values;
};

// The titles one search box finds: a fragment of the title (through the trigram index
// from three characters on; one character finds the titles it begins), the start of the author,
// publisher or mnemonic, the ISBN with or without hyphens, or the barcode.
Condition keywordCondition(const QString& keyword)
{
    const QString prefix = likeEscaped(keyword) + '%';
    QStringList parts;
    QVariantList values;
    const qsizetype length = keyword.toUcs4().size();
    if (length >= 3) {
        parts << "select rowid from tszk_title where tszk_title match ?";
        values << phrase(keyword);
    } else if (length == 2) {
        // Below the index's three characters, as at the lending desk: the titles are read
        // (a common word stops early at the cap).
        parts << "select rowid from tszk where tsmc like ? escape '\\'";
        values << '%' + prefix;
    } else {
        parts << "select rowid from tszk where tsmc like ? escape '\\'";
        values << prefix;
    }
    parts << "select rowid from tszk where zz like ? escape '\\'"
          << "select rowid from tszk where cbsmc like ? escape '\\'"
          << "select rowid from tszk where pyzjh like ? escape '\\'"
          << "select rowid from tszk where txm = ?"
          << "select rowid from tszk where isbn = ?"
          << "select rowid from tszk where isbn = ?";
    // A short or common word matches a large part of the catalogue: each way of matching
    // stops at the cap, so one search never walks a million rows.
    for (QString& part : parts)
        part = QString("select rowid from (%1 limit %2)").arg(part).arg(Catalogue::countCap + 1);
    QString digits = keyword;
    digits.remove('-').remove(' ');
    values << prefix << prefix << likeEscaped(keyword.toUpper()) + '%' << keyword << keyword
           << digits;
    return {"tszk.rowid in (" + parts.join(" union ") + ")", values};
}

Condition conditionsOf(const Catalogue::Search& s)
{
    QStringList where{"coalesce(tszk.tszt,'') <> 'L'"};
    QVariantList values;
    if (!s.keyword.isEmpty()) {
        const Condition k = keywordCondition(s.keyword);
        where << k.text;
        values << k.values;
    }
    if (!s.className.isEmpty()) {
        where << "tszk.mxflm like ? escape '\\'";
        values << likeEscaped(s.className) + '%';
    }
    if (!s.publisher.isEmpty()) {
        where << "tszk.cbsmc like ? escape '\\'";
        values << likeEscaped(s.publisher) + '%';
    }
    if (!s.language.isEmpty()) {
        where << "tszk.yz = ?";
        values << s.language;
    }
    if (s.yearFrom > 0) {
        where << "tszk.cbsj >= ?";
        values << QString("%1-01-01").arg(s.yearFrom, 4, 10, QChar('0'));
    }
    if (s.yearTo > 0) {
        where << "tszk.cbsj <= ?";
        values << QString("%1-12-31").arg(s.yearTo, 4, 10, QChar('0'));
    }
    return {where.join(" and "), values};
}

QString orderOf(const QString& sort)
{
    if (sort == "author")
        return "tszk.zz, tszk.tsmc, tszk.txm";
    if (sort == "year")
        return "tszk.cbsj desc, tszk.txm";
    if (sort == "new")
        return "tszk.bmrq desc, tszk.rowid desc";
    return "tszk.tsmc, tszk.txm";
}

QString stateWords(const QString& code)
{
    if (code == "W")
        return "图书未出借";
    if (code == "C")
        return "图书已出借";
    if (code == "D")
        return "图书已丢失";
    if (code == "L")
        return "图书已处理";
    return QString();
}
} // namespace

QSqlDatabase Catalogue::connection()
{
    const QString name = QString("opac-read-%1").arg(quintptr(QThread::currentThreadId()), 0, 16);
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, false);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(ProgramPaths::databaseFile());
    db.setConnectOptions("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000");
    if (!db.open())
        throw StoreError(db.lastError().text(), "open read-only");
    QSqlQuery pragma(db);
    // Prefix look-ups use the indexes only with case-sensitive like.
    pragma.exec("PRAGMA case_sensitive_like=ON");
    pragma.exec("PRAGMA query_only=ON");
    QMutexLocker lock(&namesLock);
    openNames << name;
    return db;
}

void Catalogue::closeConnections()
{
    QMutexLocker lock(&namesLock);
    for (const QString& name : std::as_const(openNames)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    openNames.clear();
}

Catalogue::Result Catalogue::search(const Search& s)
{
    Result result;
    if (s.empty())
        return result;
    const Condition c = conditionsOf(s);
    const int page = qMax(1, s.page);
    // One statement: the titles found (at most one past the cap, which says "more than"),
    // how many, and the page of them in the asked order. The titles listed and sorted are
    // the first countCap found; past that the reader is asked to narrow the search.
    const QString found = QString("with found as materialized (select tszk.rowid as id from tszk "
                                  "where %1 limit %2) ")
                              .arg(c.text)
                              .arg(countCap + 1);
    QSqlQuery q = run(found + QString("select %1, (select count(*) from found) from tszk where "
                                      "tszk.rowid in (select id from found limit %2) "
                                      "order by %3 limit %4 offset %5")
                                  .arg(titleColumns)
                                  .arg(countCap)
                                  .arg(orderOf(s.sort))
                                  .arg(pageSize + 1)
                                  .arg(qint64(page - 1) * pageSize),
                      c.values);
    while (q.next()) {
        result.total = q.value(11).toInt();
        if (result.titles.size() == pageSize) {
            result.more = true;
            break;
        }
        result.titles << titleOf(q);
    }
    if (result.titles.isEmpty() && page > 1) {
        QSqlQuery count = run(found + "select count(*) from found", c.values);
        if (count.next())
            result.total = count.value(0).toInt();
    }
    return result;
}

std::optional<Catalogue::TitleDetail> Catalogue::title(const QString& barcode)
{
    QSqlQuery q =
        run(QString("select %1, tszk.* from tszk where tszk.txm = ?").arg(titleColumns), {barcode});
    if (!q.next())
        return std::nullopt;
    TitleDetail d;
    d.title = titleOf(q);
    const auto field = [&q](const char* column) { return q.value(column).toString(); };
    const QList<QPair<const char*, const char*>> captions = {
        {"tsmc", "图书名称"}, {"ztm", "正题名"},   {"ftm", "副题名"},    {"bt", "标题"},
        {"zz", "作者"},       {"cbsmc", "出版社"}, {"cbsj", "出版时间"}, {"tsbb", "版次"},
        {"isbn", "ISBN"},     {"xlm", "系列名"},   {"fjch", "分卷册号"}, {"yz", "语种"},
        {"tskb", "开本"},     {"tsym", "页数"},    {"ctys", "插图页数"}, {"tsjg", "价格"},
        {"mxflm", "分类号"},  {"tsjsh", "检索号"}, {"sjm", "四角码"},    {"bzsy", "标准索引"},
        {"fsjh", "书架号"},   {"txm", "条形码"},   {"bmrq", "编目日期"},
    };
    for (const auto& [column, caption] : captions) {
        const QString value = field(column);
        if (!value.isEmpty())
            d.fields.append({QString::fromUtf8(caption), value});
    }
    d.fields.append({QString::fromUtf8("馆藏地点"), d.title.room});
    d.state = stateWords(field("tszt"));
    QSqlQuery due = run("select min(hsrq) from dzjsmxk where txm = ? and "
                        "(hsjsr is null or hsjsr = '')",
                        {barcode});
    if (due.next())
        d.nextDue = QDate::fromString(due.value(0).toString(), Qt::ISODate);
    return d;
}

QList<Catalogue::Title> Catalogue::newestShelved(int count)
{
    QSqlQuery q = run(QString("select %1 from tszk where tszk.bmrq is not null and "
                              "coalesce(tszk.fsjh,'') <> '' and coalesce(tszk.tszt,'') <> 'L' "
                              "order by tszk.bmrq desc, tszk.rowid desc limit ?")
                          .arg(titleColumns),
                      {count});
    QList<Title> titles;
    while (q.next())
        titles << titleOf(q);
    return titles;
}

QList<Catalogue::ClassNode> Catalogue::classTree()
{
    QSqlQuery q = run("select Flm, mxflm, mxflmc from mxflk order by Flm, mxflm", {});
    QList<ClassNode> tree;
    while (q.next()) {
        const QString main = q.value(0).toString();
        const QString code = q.value(1).toString();
        if (tree.isEmpty() || tree.last().code != main)
            tree.append({main, code == main ? q.value(2).toString() : main, {}});
        if (code == main)
            tree.last().name = q.value(2).toString();
        else
            tree.last().children.append({code, q.value(2).toString()});
    }
    return tree;
}
