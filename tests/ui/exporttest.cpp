#include "ui/export.h"
#include "data/database.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "xlsxreader.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {
const char* ledgerStatement = "select fsrq as 日期, srje as 收入金额, zcje as 支出金额, "
                              "szyy as 备注 from cwk where fsrq>=:d1 order by fsrq";

QList<QStringList> padded(QList<QStringList> rows, int width)
{
    for (QStringList& row : rows) {
        while (row.size() < width)
            row.append(QString());
    }
    return rows;
}

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class ExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QString folder;

    void writeFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    bool exportLedger(const QString& chosen)
    {
        FileDialogs::queueAnswer(chosen);
        return Export::toSpreadsheet(nullptr, ledgerStatement, {"2026-01-01"}, "财务报表",
                                     "系统正在导出数据,请稍候...");
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        folder = fixture->path("export");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY2(!folder.contains('.'), "the name rules below need a folder without a dot");
        Sql::run("insert into cwk(srje,zcje,szyy,fsrq) values(:a,:b,:c,:d)",
                 {12.5, QVariant(), "借书证押金", "2026-12-09"});
        Sql::run("insert into cwk(srje,zcje,szyy,fsrq) values(:a,:b,:c,:d)",
                 {QVariant(), 30.0, "押金退还", "2026-12-10"});
        Sql::run("insert into cwk(srje,zcje,szyy,fsrq) values(:a,:b,:c,:d)",
                 {0.25, 0.0, QString(), "2026-12-11"});
    }
    void cleanup() { fixture.reset(); }

    void fileNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no dot") << "/data/report"
                                << "/data/report.xlsx";
        QTest::newRow("own extension kept") << "/data/report.txt"
                                            << "/data/report.txt";
        QTest::newRow("dot in a folder name") << "/data/v1.2/report"
                                              << "/data/v1.2/report";
        QTest::newRow("xls kept") << "/data/report.xls"
                                  << "/data/report.xls";
    }
    void fileNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QCOMPARE(Export::fileNameFor(chosen), saved);
    }

    void cellTexts_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("null") << QVariant() << "";
        QTest::newRow("null number") << QVariant(QMetaType::fromType<double>()) << "";
        QTest::newRow("decimal") << QVariant(12.5) << "12.5";
        QTest::newRow("whole") << QVariant(30.0) << "30";
        QTest::newRow("four decimals") << QVariant(0.0025) << "0.0025";
        QTest::newRow("arithmetic noise") << QVariant(0.1 + 0.2) << "0.3";
        QTest::newRow("large") << QVariant(1234567.89) << "1234567.89";
        QTest::newRow("negative") << QVariant(-4.5) << "-4.5";
        QTest::newRow("integer") << QVariant(qlonglong(7)) << "7";
        QTest::newRow("date") << QVariant(QDate(2026, 3, 5)) << "2026-03-05";
        QTest::newRow("text") << QVariant("李明") << "李明";
    }
    void cellTexts()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(Export::cellText(value), text);
    }

    void writesHeaderAndOneTextRowPerRecord()
    {
        QVERIFY(exportLedger(folder + "/ledger"));
        QCOMPARE(FileDialogs::lastProposed(), QString("财务报表"));
        QVERIFY(Messages::takeShown().isEmpty()); // success is silent
        const XlsxSheet sheet = XlsxSheet::read(folder + "/ledger.xlsx");
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.nonTextCells, 0);
        const QList<QStringList> expected{
            {"日期", "收入金额", "支出金额", "备注"},
            {"2026-12-09", "12.5", "", "借书证押金"},
            {"2026-12-10", "", "30", "押金退还"},
            {"2026-12-11", "0.25", "0", ""},
        };
        QCOMPARE(padded(sheet.rows, 4), expected);
        // Nothing is left beside the file.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"ledger.xlsx"});
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes replaces it") << true;
    }
    void overwriteQuestion()
    {
        QFETCH(bool, answer);
        const QString file = folder + "/ledger.xlsx";
        writeFile(file, "old contents");
        Messages::queueAnswer(answer);
        QCOMPARE(exportLedger(folder + "/ledger"), answer);
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].isQuestion);
        QCOMPARE(shown[0].caption, QString("系统询问"));
        QCOMPARE(shown[0].text, QString("当前位置已存在该文件名的文件，是否替换？"));
        QCOMPARE(shown[0].icon, Messages::Icon::Question);
        if (answer)
            QCOMPARE(XlsxSheet::read(file).rows.size(), 4);
        else
            QCOMPARE(contents(file), QByteArray("old contents"));
    }

    void cancelWritesNothing()
    {
        QVERIFY(!exportLedger(QString()));
        QVERIFY(Messages::takeShown().isEmpty());
        QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void emptyResultIsAnsweredBeforeTheDialog()
    {
        FileDialogs::queueAnswer(folder + "/never");
        QVERIFY(!Export::toSpreadsheet(nullptr, ledgerStatement, {"2027-01-01"}, "财务报表",
                                       QString()));
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString(Messages::applicationTitle));
        QCOMPARE(shown[0].text, QString("没有找到您需要导出的记录！"));
        QVERIFY(FileDialogs::lastProposed().isEmpty());
    }

    void openQueryWithoutRecordsGivesHeaderOnly()
    {
        QSqlQuery query(Database::connection());
        QVERIFY(query.exec("select kno as 借书证编号, dzm as 读者姓名 from cardk"));
        FileDialogs::queueAnswer(folder + "/cards");
        QVERIFY(Export::toSpreadsheet(nullptr, query, "借阅证资料"));
        const XlsxSheet sheet = XlsxSheet::read(folder + "/cards.xlsx");
        QCOMPARE(sheet.rows, (QList<QStringList>{{"借书证编号", "读者姓名"}}));
    }

    void openQueryIsExportedFromItsFirstRecord()
    {
        QSqlQuery query(Database::connection());
        QVERIFY(query.exec("select szyy as 备注 from cwk order by fsrq desc"));
        QVERIFY(query.last()); // wherever the grid left it
        FileDialogs::queueAnswer(folder + "/notes.xlsx");
        QVERIFY(Export::toSpreadsheet(nullptr, query, "x"));
        const XlsxSheet sheet = XlsxSheet::read(folder + "/notes.xlsx");
        QCOMPARE(padded(sheet.rows, 1),
                 (QList<QStringList>{{"备注"}, {""}, {"押金退还"}, {"借书证押金"}}));
    }

    void queryNotOpenIsRefused()
    {
        QSqlQuery query(Database::connection());
        FileDialogs::queueAnswer(folder + "/x");
        QVERIFY(!Export::toSpreadsheet(nullptr, query, "x"));
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("系统提示"));
        QCOMPARE(shown[0].text, QString("没有记录内容可以导出，操作失败！"));
        QVERIFY(!QFile::exists(folder + "/x.xlsx"));
    }

    void failureIsReportedWithTheFileName()
    {
        const QString missing = folder + "/no such folder/ledger";
        QVERIFY(!exportLedger(missing));
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("错误"));
        QCOMPARE(shown[0].icon, Messages::Icon::Critical);
        QVERIFY2(shown[0].text.contains(missing + ".xlsx"), qPrintable(shown[0].text));
    }

    // A target that cannot be replaced (here a folder of that name) is reported,
    // and what was there stays.
    void failedReplaceKeepsWhatWasThere()
    {
        const QString target = folder + "/ledger.xlsx";
        QVERIFY(QDir().mkpath(target + "/inside"));
        Messages::queueAnswer(true);
        QVERIFY(!exportLedger(target));
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].caption, QString("错误"));
        QVERIFY(QFileInfo(target + "/inside").isDir());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"ledger.xlsx"});
    }

    void storeErrorIsReported()
    {
        FileDialogs::queueAnswer(folder + "/x");
        QVERIFY(!Export::toSpreadsheet(nullptr, "select nosuchcolumn from cwk", {}, "x", {}));
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("错误"));
        QVERIFY(shown[0].text.contains("nosuchcolumn"));
    }
};

LIBRARY_TEST(ExportTest)
#include "exporttest.moc"
