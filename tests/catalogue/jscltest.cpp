#include "catalogue/jscl.h"
#include "../reports/reportprobe.h"
#include "app/appcommands.h"
#include "catalogue/cxxxts.h"
#include "catalogue/jsclcx.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/tsxx.h"
#include "reports/jsprint.h"
#include "reports/reportoutput.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// Old-book disposal at the screen: the look-up with the picker, the method and the
// checks on leaving a box, a disposal from the keyboard, and the disposal query with
// its report.
class JsclTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QWidget* screen = nullptr;

    template <typename S> void open(const char* key)
    {
        screen = Driver::openScreen<S>(key);
        QVERIFY(screen);
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    template <typename T = QLineEdit> T* box(const char* name)
    {
        return Driver::box<T>(screen, name);
    }
    QString focused() const
    {
        QWidget* w = screen->focusWidget();
        return w ? w->objectName() : QString();
    }
    // A dialog the screen opened has closed: the screen is the active window again.
    void reactivate()
    {
        QTest::qWait(20);
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    // The picker that comes up next takes the row with this barcode.
    void pickNext(const QString& barcode, QStringList* listed)
    {
        QTimer::singleShot(0, this, [barcode, listed] {
            auto* picker = qobject_cast<Ttsxxfm*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            auto* grid = picker->findChild<QTableView*>("DBGrid1");
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                *listed << grid->model()->index(row, 0).data().toString();
                if (listed->last() == barcode)
                    grid->selectRow(row);
            }
            picker->accept();
        });
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        QDir().mkpath(fixture->path("reports"));
        Commands::clear();
        AppCommands::registerAll();
        Seed::book({.barcode = "S0001", .title = "三国演义", .copies = 3, .lent = 1});
        Seed::book({.barcode = "S0002", .title = "三国志", .copies = 2});
        Seed::book({.barcode = "H0001", .title = "红楼梦", .copies = 2});
        Seed::book({.barcode = "Z0001", .title = "三字经", .copies = 0});
    }
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        fixture.reset();
    }

    void aDisposalFromTheKeyboard()
    {
        open<Tjsclfm>("jscl");
        QCOMPARE(focused(), QString("Edit1"));
        QVERIFY(box<QPushButton>("BitBtn5")->isVisible()); // ">>>" beside the focused box
        Driver::enter(box("Edit1"));
        QCOMPARE(Driver::shown(), QStringList{"旧书处理提示:您必须输入被处理的图书的条形码后，"
                                              "才能处理该图书。"});
        box("Edit1")->setText("西游");
        Driver::enter(box("Edit1"));
        QCOMPARE(Driver::shown(),
                 QStringList{"旧书处理提示:图书总库不存在该条形码！请确定后重新输入。"});

        // Three titles hold 三, one of them without copies: the picker shows the other two.
        QStringList listed;
        box("Edit1")->setText("三");
        pickNext("S0001", &listed);
        Driver::enter(box("Edit1"));
        listed.sort();
        QCOMPARE(listed, (QStringList{"S0001", "S0002"}));
        QCOMPARE(box("Edit1")->text(), QString("S0001"));
        QCOMPARE(box("Edit2")->text(), QString("三国演义"));
        QCOMPARE(static_cast<Tjsclfm*>(screen)->heldCopies(), 3);
        QCOMPARE(focused(), QString("Edit3"));
        reactivate();
        QTRY_VERIFY(!box<QPushButton>("BitBtn5")->isVisible());

        // The quantity is checked on leaving, except for close, cancel and help.
        QTest::keyClicks(box("Edit3"), "5");
        box<QPushButton>("help")->setFocus(Qt::TabFocusReason);
        QCOMPARE(Driver::shown(), QStringList());
        box("Edit3")->setFocus(Qt::TabFocusReason);
        Driver::enter(box("Edit3"));
        QCOMPARE(Driver::shown(),
                 QStringList{QString("提示:") + "您输入的处理数量大于该书在"
                                                "图书总库中的数量\n请确定后重新输入！"});
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box("Edit3")));
        box("Edit3")->setText("0");
        Driver::enter(box("Edit3"));
        QCOMPARE(Driver::shown(),
                 QStringList{"提示:您输入的处理数量不是数字，\n请确定后重新输入！"});
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box("Edit3")));
        box("Edit3")->setText("3");
        Driver::enter(box("Edit3"));
        QCOMPARE(focused(), QString("ComboBox1"));

        // The amount opens with a sale and closes again with scrapping.
        auto* method = box<QComboBox>("ComboBox1");
        QVERIFY(box("Edit4")->isReadOnly());
        method->setCurrentIndex(1);
        emit method->activated(1);
        QVERIFY(!box("Edit4")->isReadOnly());
        QCOMPARE(focused(), QString("Edit4"));
        QTest::keyClicks(box("Edit4"), "-2");
        Driver::enter(box("Edit4"));
        QCOMPARE(Driver::shown(), QStringList{"提示:金额格式错误，请重新输入！"});
        QTRY_COMPARE(focused(), QString("Edit4"));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box("Edit4")));
        box("Edit4")->setText("25.50");
        Driver::enter(box("Edit4"));
        QCOMPARE(box("Edit4")->text(), QString("25.5"));
        QCOMPARE(focused(), QString("Edit5"));
        method->setCurrentIndex(0);
        emit method->activated(0);
        QVERIFY(box("Edit4")->isReadOnly());
        QCOMPARE(box("Edit4")->text(), QString());
        QCOMPARE(focused(), QString("Edit5"));

        // Three copies, one on loan: the popup says so and nothing is written.
        QString popup;
        QVERIFY(Driver::whileModal(
            "Tcxxxtsfm",
            [&](QWidget* shown) {
                popup = static_cast<Tcxxxtsfm*>(shown)->text();
                QTest::keyClick(shown, Qt::Key_Space); // any key closes it
            },
            [this] { box<QPushButton>("ok")->click(); }));
        QCOMPARE(popup, QString("该书现有2,已借出1\n不够处理，请重输！"));
        QCOMPARE(Fixture::count("select count(*) from jsclk"), 0);
        box("Edit3")->setText("2");
        box("Edit5")->setText("虫蛀");
        box<QPushButton>("ok")->click();
        QCOMPARE(Driver::shown(), QStringList{"保存提示:您的旧书处理已经成功！"});
        QCOMPARE(Sql::scalar("select bs from tszk where txm='S0001'").toInt(), 1);
        QCOMPARE(Sql::scalar("select tszt from tszk where txm='S0001'").toString(), QString("C"));
        QCOMPARE(Fixture::count("select count(*) from jsclk where txm='S0001' and clbs=2 and "
                                "clfs='图书报废' and bz='虫蛀' and tsmc='三国演义'"),
                 1);
        for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
            QCOMPARE(box(name)->text(), QString());
        QCOMPARE(method->currentIndex(), -1);
        QCOMPARE(focused(), QString("Edit1"));

        // Enter on close and help moves on instead of closing.
        box<QPushButton>("close")->setFocus(Qt::TabFocusReason);
        Driver::enter(box<QPushButton>("close"));
        QCOMPARE(focused(), QString("help"));
        QVERIFY(screen->isVisible());
    }

    void theListButtonPicksAmongTitlesWithCopies()
    {
        open<Tjsclfm>("jscl");
        QStringList listed;
        pickNext("H0001", &listed);
        box<QPushButton>("BitBtn5")->click();
        listed.sort();
        QCOMPARE(listed, (QStringList{"H0001", "S0001", "S0002"}));
        QCOMPARE(box("Edit2")->text(), QString("红楼梦"));
        QCOMPARE(static_cast<Tjsclfm*>(screen)->heldCopies(), 2);
        QCOMPARE(Commands::helpContext("jscl"), 19);
    }

    void theQueryListsDisposalsAndPrintsTheirTotal()
    {
        for (const auto& [barcode, title, method, amount, day] :
             QList<std::tuple<QString, QString, QString, double, QString>>{
                 {"D1", "旧书一", "降价销售", 12.5, "2008-12-01"},
                 {"D2", "旧书二", "图书报废", 0, "2008-12-15"},
                 {"D3", "旧书三", "降价销售", 3, "2009-01-02"}})
            Sql::run("insert into jsclk(txm,tsmc,clfs,clbs,clje,clrq) values(:a,:b,:c,1,:d,:e)",
                     {barcode, title, method, amount, day});
        open<Tjsclcxfm>("yjtscx");
        auto* grid = box<QTableView>("DBGrid1");
        box("Edit1")->setText("2008-12-01");
        box("Edit2")->setText("2008-12-31");
        box<QPushButton>("query")->click();
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(grid->model()->rowCount(), 2);
        const QSet<QString> amounts{grid->model()->index(0, 5).data().toString(),
                                    grid->model()->index(1, 5).data().toString()};
        QCOMPARE(amounts, (QSet<QString>{"12.50", "0.00"}));
        box<QPushButton>("print")->click();
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().name, QString("旧书处理报表"));
        QVERIFY(QFile::exists(requests.first().pdf));
        if (!qEnvironmentVariableIsEmpty("LIBRARYDESK_KEEP_REPORTS"))
            QFile::copy(requests.first().pdf,
                        qEnvironmentVariable("LIBRARYDESK_KEEP_REPORTS") + "/jsprint.pdf");

        // One day only.
        box("Edit2")->clear();
        box<QPushButton>("query")->click();
        QCOMPARE(grid->model()->rowCount(), 1);
        box("Edit1")->setText("2008-12-02");
        box<QPushButton>("query")->click();
        QCOMPARE(Driver::shown(), QStringList{"提示信息:没有查找到你所需的信息!"});
        QVERIFY(!static_cast<Tjsclcxfm*>(screen)->isPrintable());

        // A start after the end is refused on leaving the end box.
        box("Edit1")->setText("2008-12-31");
        box("Edit2")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box("Edit2"), "2008-12-01");
        box("Edit3")->setFocus(Qt::TabFocusReason);
        QCOMPARE(Driver::shown(), QStringList{"提示信息:后一个日期小于前一个日期，请重输！"});

        box<QPushButton>("requery")->click();
        for (const char* name : {"Edit1", "Edit2", "Edit3"})
            QCOMPARE(box(name)->text(), QString());
        box("Edit3")->setText("旧书");
        box<QPushButton>("query")->click();
        QCOMPARE(grid->model()->rowCount(), 3);
    }

    void theReportTotalsTheAmounts()
    {
        Sql::run("insert into jsclk(txm,tsmc,clfs,clbs,clje,clrq) values"
                 "('D1','旧书一','降价销售',1,12.5,'2008-12-01'),"
                 "('D2','旧书二','降价销售',2,7.25,'2008-12-02')");
        Tjsprintfm layout;
        layout.setRange("2008-12-01", "2008-12-31");
        layout.setRows({QString(), QDate(2008, 12, 1), QDate(2008, 12, 31)});
        const Report report = layout.report();
        QCOMPARE(report.page.size, QPageSize::JisB5);
        const QString pdf = fixture->path("jsprint.pdf");
        QVERIFY(ReportOutput::toPdf(report, pdf));
        const QString text = ReportProbe::pdfText(pdf);
        for (const char* expected : {"2008-12-01", "2008-12-31", "旧书二", "7.25", "总金额：",
                                     "19.75", "打印日期:", "2026-12-09"})
            QVERIFY2(text.contains(expected), expected);
    }
};

LIBRARY_TEST(JsclTest)
#include "jscltest.moc"
