#include "../desk/cardseed.h"
#include "../reports/reportprobe.h"
#include "cards/jjkcz.h"
#include "cards/jyczcx.h"
#include "cards/jyxx.h"
#include "driver.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/pickdate.h"
#include "ui/windows.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The top-up screen and the top-up query as the operator uses them.
class TopUpScreensTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<QWidget> screen;

    template <typename Screen> Screen* open()
    {
        auto* opened = Windows::showOrActivate<Screen>();
        screen = opened;
        screen->activateWindow();
        if (!QTest::qWaitForWindowActive(screen))
            qWarning("window not active");
        return opened;
    }
    template <typename T = QLineEdit> T* box(const char* name)
    {
        T* found = screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }
    void lookUp(const QString& prefix)
    {
        box("Edit7")->setFocus();
        box("Edit7")->setText(prefix);
        QTest::keyClick(box("Edit7"), Qt::Key_Return);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::grade("A", 180);
        // The old valid-until lies after today plus the grade's days.
        CardSeed::card("1001", "张三", "110", "2026-01-05", 50, "2027-08-01");
        CardSeed::card("1002", "李四", "111", "2026-01-05", 50, "2027-01-05");
        CardSeed::card("2001", "王五", "112", "2026-01-05", 50, "2027-01-05");
    }
    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFormjjkcz*>(w) || qobject_cast<TFormjyczcx*>(w))
                delete w;
        fixture.reset();
    }

    void extendFromTodayAndPayNothing()
    {
        auto* topUp = open<TFormjjkcz>();
        lookUp("2");
        QCOMPARE(shown(), QStringList());
        QCOMPARE(topUp->lookedUp(), QString("2001"));
        QCOMPARE(box("Edit1")->text(), QString("王五"));
        QCOMPARE(box("Edit3")->text(), QString("50.00"));
        QCOMPARE(box("Edit11")->text(), QString("2027-01-05"));
        QVERIFY(box("Edit11")->hasFocus());
        QCOMPARE(topUp->validDays(), 180);

        QTest::keyClick(box("Edit11"), Qt::Key_Return);
        QVERIFY(box("Edit8")->hasFocus());
        QCOMPARE(box("Edit8")->text(), QString("2027-06-07")); // 2026-12-09 + 180
        // The date picker's Close proposes nothing new.
        box("Edit8")->setText("2027-12-31");
        QVERIFY(
            Driver::pickDate(std::nullopt, [this] { box<QPushButton>("dateButton")->click(); }));
        QCOMPARE(box("Edit8")->text(), QString("2027-12-31"));

        QTest::keyClick(box("Edit8"), Qt::Key_Return);
        QVERIFY(box("Edit10")->hasFocus());
        QTest::keyClick(box("Edit10"), Qt::Key_Return); // empty: "0", asked
        Messages::queueAnswer(true);
        QTest::keyClick(box<QPushButton>("topUp"), Qt::Key_Return);
        QCOMPARE(shown(),
                 (QStringList{"询问:充金额为零，您确定要继续吗？", "图书馆管理系统:充值完成！"}));
        QCOMPARE(CardSeed::rows("select czje,bz from jykczb"),
                 QStringList{"0|借阅证延期有效日期没有充值"});
        QCOMPARE(Sql::scalar("select yxrq from cardk where kno='2001'").toString(),
                 QString("2027-12-31"));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        for (const char* name :
             {"Edit7", "Edit1", "Edit9", "Edit2", "Edit3", "Edit10", "Edit4", "Edit5", "Edit6"})
            QVERIFY2(box(name)->text().isEmpty(), name);
        QCOMPARE(box("Edit8")->text(), QString("2027-12-31"));
        QCOMPARE(box("Edit11")->text(), QString("2027-01-05"));
        QVERIFY(box("Edit7")->hasFocus());
    }

    void thePrintedCardCarriesItsNumberBarcode()
    {
        open<TFormjjkcz>();
        lookUp("2");
        QVERIFY(QDir().mkpath(fixture->path("reports")));
        box<QPushButton>("print")->click();
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QVERIFY(ReportProbe::pdfText(requests.first().pdf).contains("王五"));
        QCOMPARE(ReportProbe::barcodes(requests.first().pdf), QStringList{"2001"});
    }

    void severalMatchesAreChosenFromTheList()
    {
        open<TFormjjkcz>();
        const bool listed = Driver::whileModal(
            "TFormjyxx",
            [](QWidget* list) {
                auto* grid = list->findChild<QTableView*>("DBGrid1");
                QCOMPARE(grid->model()->rowCount(), 2);
                QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(),
                         QString("借阅证号"));
                grid->selectRow(1);
                list->findChild<QPushButton*>("ok")->click(); // "确定" takes the current row
            },
            [this] { lookUp("100"); });
        QVERIFY(listed);
        QCOMPARE(box("Edit1")->text(), QString("李四"));
    }

    void numberEditedAfterTheLookUpWritesNothing()
    {
        open<TFormjjkcz>();
        lookUp("1001");
        box("Edit7")->setText("1002");
        box("Edit8")->setText("2027-12-31");
        box("Edit10")->setText("20");
        box<QPushButton>("topUp")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:没有找到您需要的数据！"});
        QCOMPARE(Fixture::count("select count(*) from jykczb"), 0);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);

        lookUp("1002");
        box("Edit10")->setText("20");
        box<QPushButton>("topUp")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:充值完成！"});
        QCOMPARE(CardSeed::rows("select srje,szyy from cwk"), QStringList{"20|延期借阅证时充值"});
    }

    void queryScreen()
    {
        const auto row = [](const char* kno, double amount, const char* day) {
            Sql::run("insert into jykczb(kno,dzm,czje,czrq,bz) values(:a,:b,:c,:d,:e)",
                     {kno, "张三", amount, day, "借阅证延期有效日期且充值"});
        };
        row("1001", 0.1, "2026-12-09");
        row("1001", 0.2, "2026-12-09");
        row("1002", 5, "2026-11-01");
        open<TFormjjkcz>();
        box<QPushButton>("topUpQuery")->click();
        QPointer<QWidget> query = Windows::findOpen("TFormjyczcx");
        QVERIFY(query);
        screen = query;
        QCOMPARE(box("Edit3")->text(), QString("2026-12-09"));
        QCOMPARE(box("Edit4")->text(), QString("2026-12-09"));
        box<QPushButton>("query")->click();
        QCOMPARE(box<QTableView>("DBGrid1")->model()->rowCount(), 2);
        QCOMPARE(box<QLabel>("total")->text(), QString("0.30"));
        box("Edit3")->clear();
        box<QPushButton>("query")->click();
        QCOMPARE(box<QLabel>("total")->text(), QString("5.30"));
        box("Edit1")->setText("3");
        box<QPushButton>("query")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:没有您需要查询的数据！"});
        QCOMPARE(box<QLabel>("total")->text(), QString("0"));
        box("Edit4")->setText("2026-13-01");
        box<QPushButton>("query")->click();
        QCOMPARE(shown(), QStringList{"提示信息:日期格式不对！"});
    }
};

LIBRARY_TEST(TopUpScreensTest)
#include "topupscreenstest.moc"
