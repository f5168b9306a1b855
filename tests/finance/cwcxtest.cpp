#include "finance/cwcx.h"
#include "../reports/reportprobe.h"
#include "../ui/xlsxreader.h"
#include "data/sql.h"
#include "desk/ledger.h"
#include "finance/financecommands.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

// The finance query: which ledger rows a day or a range lists, their totals, and the
// report and spreadsheet made from them.
class CwcxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tcwcxfm> screen;

    static void addRow(const char* day, const char* income, const char* expenditure,
                       const char* reason)
    {
        Sql::run("insert into cwk(srje,zcje,szyy,fsrq) values(:a,:b,:c,:d)",
                 {income ? QVariant(QString(income).toDouble()) : QVariant(),
                  expenditure ? QVariant(QString(expenditure).toDouble()) : QVariant(),
                  QString(reason), QString(day)});
    }
    void open()
    {
        screen = std::make_unique<Tcwcxfm>();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    }
    QLineEdit* box(const char* name) { return screen->findChild<QLineEdit*>(name); }
    void click(const char* name) { screen->findChild<QAbstractButton*>(name)->click(); }
    void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    // The grid as "date|income|expenditure|reason" lines.
    QStringList gridRows()
    {
        const QAbstractItemModel* model = screen->findChild<QTableView*>("DBGrid1")->model();
        while (model->canFetchMore({}))
            const_cast<QAbstractItemModel*>(model)->fetchMore({});
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->index(r, c).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    QStringList totals() { return {box("Edit3")->text(), box("Edit4")->text()}; }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.text;
        return texts;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        ReportOutput::setScripted(true, fixture->home());
        // today is 2026-12-09
        addRow("2026-12-09", "100", nullptr, "收押金");
        addRow("2026-12-09", "0", nullptr, "收押金"); // a card issued without deposit
        addRow("2026-12-09", "5", nullptr, "收工本费");
        addRow("2026-12-08", "1.5", nullptr, "逾期罚款金额");
        addRow("2026-12-07", nullptr, "300", "购书费");
        addRow("2026-12-07", nullptr, "-120.25", "冲销");
    }
    void cleanup()
    {
        screen.reset();
        ReportOutput::takeRequests();
        ReportOutput::setScripted(false);
        Commands::clear();
        fixture.reset();
    }

    void openingQueryListsTodayWithoutZeroRows()
    {
        open();
        QCOMPARE(box("Edit1")->text(), QString("2026-12-09"));
        QCOMPARE(box("Edit2")->text(), QString("2026-12-09"));
        QCOMPARE(gridRows(), QStringList());
        QVERIFY(!screen->isPrintable());
        click("query");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(gridRows(),
                 (QStringList{"2026-12-09|100.00||收押金", "2026-12-09|5.00||收工本费"}));
        QCOMPARE(totals(), (QStringList{"105", "0"}));
        QVERIFY(screen->isPrintable());

        // Without a to-date the from-date alone is queried.
        box("Edit1")->setText("2026-12-08");
        box("Edit2")->clear();
        click("query");
        QCOMPARE(gridRows(), QStringList{"2026-12-08|1.50||逾期罚款金额"});
        QCOMPARE(totals(), (QStringList{"1.5", "0"}));
    }

    void rangeTotalsCountAReversalAgainstExpenditure()
    {
        open();
        box("Edit1")->setText("2026-12-07");
        click("query");
        QCOMPARE(gridRows(),
                 (QStringList{"2026-12-07||300.00|购书费", "2026-12-07||-120.25|冲销",
                              "2026-12-08|1.50||逾期罚款金额", "2026-12-09|100.00||收押金",
                              "2026-12-09|5.00||收工本费"}));
        QCOMPARE(totals(), (QStringList{"106.5", "179.75"}));
    }

    void noRowsIsToldAndTheTotalsStay()
    {
        open();
        click("query");
        box("Edit1")->setText("2026-11-01");
        box("Edit2")->setText("2026-11-30");
        click("query");
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().caption, QString("提示信息"));
        QCOMPARE(shown.first().text, QString("没有你所需要的记录,请重新输入查询!"));
        QCOMPARE(totals(), (QStringList{"105", "0"}));
        QCOMPARE(screen->focusWidget(), box("Edit1"));

        box("Edit1")->clear(); // no from-date: nothing happens
        click("query");
        QCOMPARE(shownTexts(), QStringList());
    }

    void aBadDateLeftForQueryIsReportedOnce()
    {
        open();
        focus(box("Edit1"));
        box("Edit1")->setText("2026-12-32");
        QTest::mouseClick(screen->findChild<QPushButton*>("query"), Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{"日期格式错误"});
        QTRY_COMPARE(QApplication::focusWidget(), box("Edit1"));
    }

    void dateBoxesCheckWhatIsTyped()
    {
        open();
        focus(box("Edit1"));
        box("Edit1")->setText("2026/12/7");
        focus(box("Edit2"));
        QCOMPARE(box("Edit1")->text(), QString("2026-12-07"));
        QCOMPARE(shownTexts(), QStringList());

        box("Edit2")->setText("2026-12-32");
        focus(screen->findChild<QPushButton*>("query"));
        QCOMPARE(shownTexts(), QStringList{"日期格式错误"});
        QCOMPARE(QApplication::focusWidget(), box("Edit2"));

        // A from-date after the to-date is warned about and then lists nothing.
        box("Edit1")->setText("2026-12-09");
        box("Edit2")->setText("2026-12-07");
        focus(screen->findChild<QPushButton*>("query"));
        QCOMPARE(shownTexts(), QStringList{"后一个日期大于前一个日期,请重输!"});
        click("query");
        QCOMPARE(shownTexts(), QStringList{"没有你所需要的记录,请重新输入查询!"});
    }

    void keyboardRunsTheQueryAndOpensItsHelpPage()
    {
        // The main window's F1 opens the help contents from anywhere in the program.
        QWidget mainWindow;
        QAction contents(&mainWindow);
        contents.setShortcut(Qt::Key_F1);
        contents.setShortcutContext(Qt::ApplicationShortcut);
        mainWindow.addAction(&contents);
        QSignalSpy contentsOpened(&contents, &QAction::triggered);

        open();
        focus(box("Edit2"));
        QTest::keyClick(box("Edit2"), Qt::Key_Return);
        QWidget* query = QApplication::focusWidget();
        QCOMPARE(query->objectName(), QString("query"));
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(gridRows().size(), 2);

        QTest::keyClick(query, Qt::Key_F1);
        QCOMPARE(contentsOpened.count(), 0);
        QTextBrowser* page = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "HelpWindow" && w->isVisible())
                page = w->findChild<QTextBrowser*>("helpBrowser");
        QVERIFY(page);
        QCOMPARE(page->source().path(), QString("/help/25.html"));
        page->window()->close();
    }

    void exportListsZeroRowsToo()
    {
        open();
        box("Edit1")->setText("2026-12-08");
        const QString file = fixture->path("ledger");
        FileDialogs::queueAnswer(file);
        click("export");
        QCOMPARE(FileDialogs::lastProposed(), QString("财务报表"));
        const XlsxSheet sheet = XlsxSheet::read(file + ".xlsx");
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.rows.size(), 5);
        QCOMPARE(sheet.rows.at(0), (QStringList{"日期", "收入金额", "支出金额", "备注"}));
        QCOMPARE(sheet.rows.at(1).first(), QString("2026-12-08"));
        QCOMPARE(sheet.rows.at(3).mid(1, 3), (QStringList{"0", "", "收押金"}));
    }

    void exportNeedsBothDatesAndSomeRows()
    {
        open();
        box("Edit2")->clear();
        click("export");
        QCOMPARE(shownTexts(), QStringList{"日期不能为空！"});
        box("Edit1")->setText("2025-01-01");
        box("Edit2")->setText("2025-01-31");
        click("export");
        QCOMPARE(shownTexts(), QStringList{"没有找到您需要导出的记录！"});
    }

    void printShowsTheListedRowsAndClearsTheScreen()
    {
        open();
        click("print"); // nothing listed yet
        QCOMPARE(ReportOutput::takeRequests().size(), 0);

        box("Edit1")->setText("2026-12-07");
        click("query");
        click("print");
        const auto requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().kind, ReportOutput::Request::Kind::Preview);
        QCOMPARE(requests.first().pages, 1);
        QCOMPARE(box("Edit1")->text(), QString());
        QCOMPARE(box("Edit2")->text(), QString());
        QCOMPARE(totals(), (QStringList{"", ""}));
        QCOMPARE(gridRows(), QStringList());

        const QString text = ReportProbe::pdfText(requests.first().pdf, true);
        QVERIFY2(text.contains("财 务 明 细 报 表"), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression("2026-12-07\\s+-\\s+2026-12-09")));
        QVERIFY(text.contains(QRegularExpression("第\\s*1\\s*页")));
        QVERIFY(text.contains(QRegularExpression("日期\\s+收支原因\\s+收入金额\\s+支出金额")));
        QVERIFY(text.contains(QRegularExpression("2026-12-07\\s+冲销\\s+-120.25")));
        QVERIFY(text.contains(QRegularExpression("2026-12-09\\s+收押金\\s+100.00")));
        QVERIFY(!text.contains(QRegularExpression("收押金\\s+0.00")));
        QVERIFY(text.contains(QRegularExpression("总计：\\s+106.50\\s+179.75")));
    }

    void emptyReportStillPrints()
    {
        open();
        click("query"); // lists today
        box("Edit1")->setText("2025-01-01");
        box("Edit2")->clear();
        click("query"); // lists nothing; the screen stays printable
        Messages::takeShown();
        click("print");
        const auto requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        const QString text = ReportProbe::pdfText(requests.first().pdf, true);
        QVERIFY(text.contains("2025-01-01"));
        QVERIFY(text.contains(QRegularExpression("总计：\\s+0.00\\s+0.00")));
    }

    void commandOpensOneScreen()
    {
        Commands::add(financeCommands());
        QVERIFY(Commands::open("cwcx", nullptr));
        QVERIFY(Commands::open("cwcx", nullptr));
        QWidget* shown = Windows::findOpen("Tcwcxfm");
        QVERIFY(shown);
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            count += w->inherits("Tcwcxfm") && w->isVisible();
        QCOMPARE(count, 1);
        shown->close();
    }
};

LIBRARY_TEST(CwcxTest)
#include "cwcxtest.moc"
