#include "bench.h"

#include "catalogue/bmcx.h"
#include "catalogue/tsbmjs.h"
#include "data/database.h"
#include "data/sql.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

namespace {
constexpr int titleCount = 1000000;
constexpr int classes = 10;            // first-level classes A..J, 100,000 titles each
constexpr int rareAuthorEvery = 20000; // 50 titles by an author found by "contains"
constexpr int repeats = 5;

QString firstLevel(int i)
{
    return QString(QChar('A' + i % classes));
}

void fillTitles()
{
    // Committed in parts, so that the journal is written back as it goes.
    std::optional<Transaction> t(std::in_place);
    for (int c = 0; c < classes; ++c) {
        Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values(:a,:b,'0')",
                 {firstLevel(c), QString("第%1大类").arg(c)});
        for (int s = 0; s < 10; ++s)
            Sql::run(
                "insert into bmdyb(type_id,type_name,type_from_id) values(:a,:b,:c)",
                {firstLevel(c) + QString::number(s), QString("第%1小类").arg(s), firstLevel(c)});
    }
    QSqlQuery insert(Database::connection());
    insert.prepare("insert into tszk(txm,tsmc,pyzjh,zz,cbsmc,cbsj,flmc,mxflm,tsjsh,tskb,tsym,"
                   "tsjg,bs,jcs,tszt,yz,bmr,bmrq,fsjh) "
                   "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QStringList publishers = {"人民文学出版社", "商务印书馆", "中华书局", "科学出版社"};
    for (int i = 0; i < titleCount; ++i) {
        const QString cls = firstLevel(i);
        const QVariantList values = {
            QString("B%1").arg(i, 8, 10, QChar('0')),
            QString("%1图书馆管理与信息检索第%2卷").arg(i % 7 ? "新编" : "实用").arg(i),
            "TSGGLYXXJS",
            i % rareAuthorEvery == 17 ? QString("孤本作者%1").arg(i)
                                      : QString("作者%1").arg(i % 5000),
            publishers[i % publishers.size()],
            QString("20%1-01-01").arg(i % 20, 2, 10, QChar('0')),
            cls,
            cls + QString::number(i / classes % 10),
            cls + "242",
            "32开",
            120 + i % 700,
            19.5 + i % 300 * 0.25,
            1 + i % 5,
            0,
            "W",
            i % 7 ? "中文" : "西文",
            "测试员",
            "2026-01-01",
            QString("S%1").arg(i % 900),
        };
        for (const QVariant& v : values)
            insert.addBindValue(v);
        if (!insert.exec())
            qFatal("cannot fill tszk");
        if ((i + 1) % 100000 == 0) {
            t->commit();
            t.emplace();
        }
    }
    t->commit();
}

// The middle of several timings, in milliseconds.
double medianMs(const std::function<void()>& once)
{
    QVector<double> times;
    for (int r = 0; r < repeats; ++r)
        times << Bench::seconds(once) * 1000;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long statusKiB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    return 0;
}

void resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The bare store's scan for the author: every title read and tested, the first rows kept.
void authorFloor()
{
    QSqlQuery q(Database::connection());
    q.prepare("select * from tszk where tszk.zz like ?");
    q.addBindValue("%孤本%");
    if (!q.exec())
        qFatal("floor query failed");
    int rows = 0;
    while (rows < 256 && q.next())
        ++rows;
    if (rows == 0)
        qFatal("floor found nothing");
}

void run(const std::function<void(const Figure&)>& report)
{
    Bench::freshHome();
    Messages::setScripted(true);
    FileDialogs::setScripted(true);
    report({"book query fill of 1,000,000 titles", Bench::seconds(fillTitles), "s", {}});
    Sql::run("analyze");

    Tbmcxfm screen;
    screen.show();
    auto* grid = screen.findChild<QTableView*>("DBGrid1");
    auto* query = screen.findChild<QPushButton*>("query");
    auto* requery = screen.findChild<QPushButton*>("requery");
    // One query from the boxes to the first rows in the grid, as the operator runs it.
    const auto firstRows = [&](const char* box, const QString& text) {
        return medianMs([&] {
            requery->click();
            if (box)
                screen.findChild<QLineEdit*>(box)->setText(text);
            query->click();
            if (grid->model()->rowCount() == 0 || !Messages::takeShown().isEmpty())
                qFatal("the book query found nothing");
        });
    };
    report({"book query first rows, no condition", firstRows(nullptr, {}), "ms", {}});
    report({"book query first rows, barcode prefix", firstRows("Edit1", "B00123"), "ms", {}});
    report({"book query first rows, title prefix", firstRows("Edit2", "实用图书馆"), "ms", {}});
    authorFloor(); // the same pages in the cache for both
    const double floor = medianMs(authorFloor);
    report({"book query first rows, author contains", firstRows("Edit3", "孤本"), "ms", floor});
    requery->click();

    TFormtsbmjs tree;
    tree.show();
    auto* nodes = tree.findChild<QTreeWidget*>("TreeView1");
    auto* listed = tree.findChild<QTableView*>("DBGrid1");
    const double classMs = medianMs([&] {
                               nodes->setCurrentItem(nodes->topLevelItem(1));
                               nodes->setCurrentItem(nodes->topLevelItem(0)); // A: 100,000 titles
                               if (listed->model()->rowCount() == 0)
                                   qFatal("the class listed nothing");
                           }) /
                           2;
    report({"tree search first rows of a class of 100,000 titles", classMs, "ms", {}});

    QTemporaryDir out;
    FileDialogs::queueAnswer(out.filePath("books"));
    resetPeak();
    const long before = statusKiB("VmRSS:");
    const double exportSeconds =
        Bench::seconds([&] { screen.findChild<QPushButton*>("export")->click(); });
    const long peak = statusKiB("VmHWM:");
    if (!Messages::takeShown().isEmpty() || !QFileInfo::exists(out.filePath("books.xlsx")))
        qFatal("export failed");
    report({"book query export of 1,000,000 titles", exportSeconds, "s", {}});
    report({"book query export extra memory", (peak - before) / 1024.0, "MiB", {}});
    report({"book query export file",
            QFileInfo(out.filePath("books.xlsx")).size() / 1048576.0,
            "MiB",
            {}});
}
} // namespace

LIBRARY_BENCH(bookquery, run)
