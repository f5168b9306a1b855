#include "bench.h"

#include "data/database.h"
#include "data/sql.h"
#include "ui/export.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {
constexpr int rowCount = 100000;

// The book query's export: eighteen columns under their captions.
const char* const statement =
    "select txm as 图书条形码, tsmc as 图书名称, zz as 作者, cbsmc as 出版社名称, "
    "cbsj as 出版时间, isbn as ISBN, tsjg as 价格, yz as 语种, xlm as 系列名, "
    "mxflm as 二级分类码, flmc as 一级分类码, fsjh as 书架号, scddbh as 书库, bs as 册数, "
    "jcs as 借出数, tsym as 页数, bmr as 编目人, bmrq as 编目日期 from tszk "
    "where txm like :tj order by txm";

void fillBooks()
{
    Transaction t;
    Transaction::beginWriting(); // the raw inserts below join it
    QSqlQuery insert(Database::connection());
    insert.prepare("insert into tszk(txm,tsmc,zz,cbsmc,cbsj,isbn,tsjg,yz,xlm,mxflm,flmc,fsjh,"
                   "scddbh,bs,jcs,tsym,bmr,bmrq) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QStringList publishers = {"人民文学出版社", "商务印书馆", "中华书局", "科学出版社"};
    const QDate start(2000, 1, 1);
    for (int i = 0; i < rowCount; ++i) {
        const QVariantList values = {
            QString("B%1").arg(i, 8, 10, QChar('0')),
            QString("图书馆管理与信息检索第%1卷").arg(i),
            QString("作者%1").arg(i % 5000),
            publishers[i % publishers.size()],
            start.addDays(i % 9000).toString("yyyy-MM-dd"),
            QString("978-7-%1").arg(100000 + i),
            19.5 + i % 300 * 0.25,
            i % 7 ? "中文" : "西文",
            i % 3 ? QVariant() : QVariant("丛书"),
            QString("I%1").arg(i % 400),
            "I",
            QString("A%1").arg(i % 90),
            "01",
            1 + i % 5,
            i % 3,
            120 + i % 700,
            "测试员",
            start.addDays(i % 9000 + 30).toString("yyyy-MM-dd"),
        };
        for (const QVariant& v : values)
            insert.addBindValue(v);
        if (!insert.exec())
            qFatal("cannot fill tszk");
    }
    t.commit();
}

// Resident memory now and at its peak since the last reset, in KiB.
long statusKiB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5"); // the peak restarts from the present size
}

// The floor: the bare store reading the same rows.
void readRows()
{
    QSqlQuery q(Database::connection());
    q.setForwardOnly(true);
    q.prepare(QString(statement).replace(":tj", "?"));
    q.addBindValue("B%");
    q.exec();
    qint64 characters = 0;
    while (q.next()) {
        for (int c = 0; c < 18; ++c)
            characters += q.value(c).toString().size();
    }
    if (characters == 0)
        qFatal("no rows read");
}
} // namespace

LIBRARY_BENCH(export_100k_rows, [](const auto& report) {
    Bench::freshHome();
    fillBooks();
    Messages::setScripted(true);
    FileDialogs::setScripted(true);
    QTemporaryDir out;
    readRows(); // warm the page cache for both runs

    const double floorSeconds = Bench::seconds(readRows);

    resetPeak();
    const long before = statusKiB("VmRSS:");
    FileDialogs::queueAnswer(out.filePath("books"));
    bool written = false;
    const double seconds = Bench::seconds([&] {
        written = Export::toSpreadsheet(nullptr, statement, {"B%"}, "图书编目", QString());
    });
    const long peak = statusKiB("VmHWM:");
    if (!written || !Messages::takeShown().isEmpty())
        qFatal("export failed");

    report(Figure{"export_100k_rows", seconds, "s", floorSeconds});
    report(Figure{"export_100k_rows_extra_memory", (peak - before) / 1024.0, "MiB", {}});
    report(Figure{"export_100k_rows_process_peak", peak / 1024.0, "MiB", {}});
    report(Figure{"export_100k_rows_file",
                  QFileInfo(out.filePath("books.xlsx")).size() / 1048576.0,
                  "MiB",
                  {}});
})
