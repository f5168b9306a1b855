#include "catalogue/bmcx.h"
#include "../reports/reportprobe.h"
#include "../ui/xlsxreader.h"
#include "app/appcommands.h"
#include "catalogue/tsbm.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

// The catalogue query as the operator meets it: conditions and their checks, the result
// record by record with its corrections, delete, the catalogue report and the export.
class BmcxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    Tbmcxfm* screen = nullptr;

    void open()
    {
        screen = Driver::openScreen<Tbmcxfm>("bmcx");
        QVERIFY(screen);
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    template <typename T = QLineEdit> T* box(const char* name)
    {
        return Driver::box<T>(screen, name);
    }
    void press(const char* name) { box<QPushButton>(name)->click(); }
    int rows() { return box<QTableView>("DBGrid1")->model()->rowCount(); }
    // Types as the keyboard does (Chinese characters as the input method sends them).
    static void typeText(QWidget* w, const QString& text)
    {
        w->setFocus(Qt::TabFocusReason);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Leaves a box for the next one as Tab would, letting its check run.
    static void leave(QWidget* from, QWidget* to)
    {
        from->setFocus(Qt::TabFocusReason);
        to->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    static QStringList ledger()
    {
        QStringList rows;
        Sql q("select zcje,szyy from cwk order by rowid");
        q.exec();
        while (q.next())
            rows << q.money("zcje").toFixed2() + " " + q.text("szyy");
        return rows;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        QDir().mkpath(fixture->path("reports"));
        Commands::clear();
        AppCommands::registerAll();
        Seed::book({.barcode = "B0001",
                    .title = "三国演义",
                    .author = "罗贯中",
                    .copies = 2,
                    .price = Money::fromText("20"),
                    .publisher = "中华书局"});
        Seed::book({.barcode = "B0002",
                    .title = "水浒传",
                    .author = "施耐庵",
                    .copies = 1,
                    .lent = 1,
                    .state = "C"});
        Seed::book({.barcode = "C0001", .title = "三体", .author = "刘慈欣"});
        Sql::run("update tszk set mxflm='I247',pyzjh='SGYY',tsym=512 where txm='B0001'");
        Sql::run("update tszk set mxflm='I242',pyzjh='SHZ' where txm='B0002'");
        Sql::run("update tszk set mxflm='I245',pyzjh='ST' where txm='C0001'");
        Sql::run("insert into mxflk(Flm,mxflm,mxflmc) values('Z','Z99','测试用明细分类')");
        Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values('I','文学','0'),"
                 "('K','历史','0'),('I24','小说','I')");
        Sql::run(
            "insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa','I','文学','I24','小说')");
    }
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        fixture.reset();
    }

    void noConditionListsEveryTitleRecordByRecord()
    {
        open();
        QCOMPARE(screen->windowTitle(), QString("图书编目查询"));
        QCOMPARE(box<QComboBox>("ComboBox2")->count(), 2); // the roots of the tree
        QCOMPARE(box("Edit13")->text(), QString());
        box<QComboBox>("ComboBox2")->setCurrentText("I");
        QCOMPARE(box("Edit13")->text(), QString("文学"));
        box<QComboBox>("ComboBox2")->setEditText(QString());
        press("query");
        QCOMPARE(Driver::shown(), QStringList());
        QVERIFY(screen->inResultMode());
        QCOMPARE(rows(), 3);
        QVERIFY(box("Edit1")->isHidden());
        QVERIFY(!box("txm")->isHidden());
        QVERIFY(box("txm")->isReadOnly());
        QStringList seen{box("txm")->text()};
        box<QToolButton>("next")->click();
        seen << box("txm")->text();
        box<QToolButton>("next")->click();
        seen << box("txm")->text();
        seen.sort();
        QCOMPARE(seen, (QStringList{"B0001", "B0002", "C0001"}));
        // The grid's columns, with money in two decimals.
        QCOMPARE(box<QTableView>("DBGrid1")->model()->columnCount(), 13);

        press("requery");
        QVERIFY(!screen->inResultMode());
        QCOMPARE(rows(), 0);
        QVERIFY(box("Edit1")->hasFocus());
    }

    void conditionsNarrowAndAnEmptyResultEmptiesThem()
    {
        open();
        box("Edit2")->setText("三");
        box("Edit12")->setText("sgy");
        press("query");
        QCOMPARE(Driver::shown(), QStringList{"提示信息:无查询信息,请重新输入!"});
        QVERIFY(!screen->inResultMode());
        QCOMPARE(box("Edit2")->text(), QString());
        box("Edit2")->setText("三");
        box("Edit12")->setText("SGY");
        press("query");
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(rows(), 1);
        QCOMPARE(box("tsmc")->text(), QString("三国演义"));
        QCOMPARE(box("tsym")->text(), QString("512"));
        press("requery");

        // A quote in any text box is only a character: nothing found, no store error.
        for (const char* name :
             {"Edit1", "Edit2", "Edit3", "Edit4", "Edit7", "Edit9", "Edit12", "Edit14", "Edit10"}) {
            box(name)->setText("'");
            press("query");
            QCOMPARE(Driver::shown(), QStringList{"提示信息:无查询信息,请重新输入!"});
            box(name)->clear();
        }
        // Enter in the barcode box with text runs the query.
        Driver::type(box("Edit1"), "C00", true);
        QVERIFY(screen->inResultMode());
        QCOMPARE(box("txm")->text(), QString("C0001"));
    }

    void boxesAreCheckedWhenLeft()
    {
        open();
        QLineEdit* next = box("Edit9");
        box("Edit5")->setText("2008-13-40");
        leave(box("Edit5"), next);
        QCOMPARE(Driver::shown(), QStringList{"提示信息:日期格式错误!"});
        QTRY_VERIFY(box("Edit5")->hasFocus());
        box("Edit5")->setText("2026/12/9");
        leave(box("Edit5"), next);
        QCOMPARE(box("Edit5")->text(), QString("2026-12-09"));
        box("Edit11")->setText("五百");
        leave(box("Edit11"), next);
        QCOMPARE(Driver::shown(), QStringList{"提示信息:请输入数字！"});
        box("Edit11")->setText("0512");
        leave(box("Edit11"), next);
        QCOMPARE(box("Edit11")->text(), QString("512"));
        box("Edit8")->setText("无此分类名");
        leave(box("Edit8"), next);
        QCOMPARE(Driver::shown(), QStringList{"提示信息:不存在此明细分类"});
        box("Edit8")->setText("测试用明细");
        leave(box("Edit8"), next);
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(box("Edit8")->text(), QString("Z99"));
        box("Edit8")->clear();
        press("query");
        QCOMPARE(rows(), 1); // catalogued today, with 512 pages
        QCOMPARE(box("txm")->text(), QString("B0001"));
    }

    void deleteIsTheCataloguingDelete()
    {
        open();
        press("query");
        // The title on loan is refused before any question.
        QCOMPARE(box("txm")->text(), QString("B0001"));
        box<QToolButton>("next")->click();
        QCOMPARE(box("txm")->text(), QString("B0002"));
        press("delete");
        QCOMPARE(Driver::shown(), QStringList{"删除提示:该图书有1本正在出借，不能删除！"});
        QCOMPARE(Fixture::count("select count(*) from tszk"), 3);

        box<QToolButton>("prior")->click();
        QCOMPARE(box("txm")->text(), QString("B0001"));
        press("delete"); // answered No
        QCOMPARE(Driver::shown(), QStringList{"提示:您确定要删除此条记录吗？"});
        QCOMPARE(Fixture::count("select count(*) from tszk"), 3);
        Messages::queueAnswer(true);
        press("delete");
        QCOMPARE(Driver::shown(), QStringList{"提示:您确定要删除此条记录吗？"});
        QCOMPARE(Fixture::count("select count(*) from tszk where txm='B0001'"), 0);
        QCOMPARE(ledger(), QStringList{"-40.00 冲销"});
        // The result is read again.
        QCOMPARE(rows(), 2);
        QVERIFY(screen->inResultMode());
    }

    void aCorrectionWritesOnlyWhatWasTyped()
    {
        open();
        box("Edit1")->setText("B0001");
        press("query");
        QCOMPARE(box("txm")->text(), QString("B0001"));
        // A loan is taken at the desk meanwhile.
        Sql::run("update tszk set jcs=1 where txm='B0001'");
        typeText(box("zz"), "等");
        box("tsym")->setFocus(Qt::TabFocusReason);
        box("tsym")->clear();
        typeText(box("tsym"), "五");
        press("requery"); // leaving the row stores it: the page count is refused
        QCOMPARE(Driver::shown(), QStringList{"提示信息:请输入数字！"});
        QCOMPARE(Sql::scalar("select zz from tszk where txm='B0001'").toString(),
                 QString("罗贯中"));

        box("Edit1")->setText("B0001");
        press("query");
        typeText(box("zz"), "等");
        typeText(box("cbsj"), "2001-5-1");
        box<QToolButton>("next")->click(); // the only row: nothing to move to
        press("requery");
        QCOMPARE(Driver::shown(), QStringList());
        Sql q("select zz,cbsj,jcs,bs,tsmc from tszk where txm='B0001'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("zz"), QString("罗贯中等"));
        QCOMPARE(q.text("cbsj"), QString("2001-05-01"));
        QCOMPARE(q.integer("jcs"), 1);
        QCOMPARE(q.integer("bs"), 2);
        QCOMPARE(q.text("tsmc"), QString("三国演义"));
    }

    void printsTheListedTitlesWithTheirCount()
    {
        open();
        press("print"); // condition mode: nothing
        QCOMPARE(ReportOutput::takeRequests().size(), 0);
        box("Edit2")->setText("三");
        press("query");
        press("print");
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().pages, 1);
        QVERIFY(QFile::exists(requests.first().pdf));
        if (!qEnvironmentVariableIsEmpty("LIBRARYDESK_KEEP_REPORTS"))
            QFile::copy(requests.first().pdf,
                        qEnvironmentVariable("LIBRARYDESK_KEEP_REPORTS") + "/bmcxprint.pdf");

        const QString text = ReportProbe::pdfText(requests.first().pdf);
        for (const char* expected : {"三国演义", "三体", "20.00", "记录数：", "2", "图书条形码"})
            QVERIFY2(text.contains(expected), expected);
        QVERIFY(!text.contains("水浒传"));
    }

    // Titles chosen in the grid (Ctrl+click) get one sheet with a label per copy, laid out
    // as the label dialog says.
    void labelsForTheChosenTitles()
    {
        open();
        press("query");
        auto* grid = box<QTableView>("DBGrid1");
        QCOMPARE(rows(), 3);
        const auto click = [grid](int row, Qt::KeyboardModifiers keys) {
            const QRect cell = grid->visualRect(grid->model()->index(row, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, cell.center());
        };
        click(0, Qt::NoModifier);
        QCOMPARE(box("txm")->text(), QString("B0001"));
        click(2, Qt::ControlModifier);
        QCOMPARE(box("txm")->text(), QString("C0001"));
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 2);
        QString counted;
        QVERIFY(Driver::whileModal(
            "Tbqdyfm",
            [&](QWidget* dialog) {
                for (const QLabel* label : dialog->findChildren<QLabel*>())
                    if (label->text().startsWith("共"))
                        counted = label->text();
                Driver::box<QSpinBox>(dialog, "SpinBox2")->setValue(2);
                Driver::box<QPushButton>(dialog, "ok")->click();
            },
            [this] { press("labels"); }));
        QCOMPARE(counted, QString("共 3 张标签（每册一张）"));
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        const QString text = ReportProbe::pdfText(requests.first().pdf);
        QCOMPARE(text.count("B0001"), 2);
        QCOMPARE(text.count("C0001"), 1);
        QVERIFY(!text.contains("B0002"));
        // Two labels a row: the third starts the second row.
        double firstTop = -1, thirdTop = -1;
        for (const auto& word : ReportProbe::pdfWords(requests.first().pdf)) {
            if (word.text == "B0001" && firstTop < 0)
                firstTop = word.top;
            else if (word.text == "C0001")
                thirdTop = word.top;
        }
        QVERIFY(firstTop > 0 && thirdTop > firstTop);
    }

    void exportsTheWholeBookMasterByClass()
    {
        open();
        box("Edit1")->setText("C");
        press("query"); // the export does not follow the conditions
        const QString file = fixture->path("books");
        FileDialogs::queueAnswer(file);
        press("export");
        QCOMPARE(FileDialogs::lastProposed(), QString("图书编目"));
        QCOMPARE(Driver::shown(), QStringList());
        const XlsxSheet sheet = XlsxSheet::read(file + ".xlsx");
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.rows.size(), 4);
        QCOMPARE(sheet.rows.at(0),
                 (QStringList{"条形码", "图书名称", "作者", "编目人", "编目日期", "出版时间",
                              "出版社名称", "二级分类码", "系列名", "检索号", "分卷册号", "标题",
                              "正题名", "副题名", "四角码", "图书开本", "图书价格", "放书架号"}));
        QCOMPARE(sheet.rows.at(1).first() + sheet.rows.at(2).first() + sheet.rows.at(3).first(),
                 QString("B0002C0001B0001")); // I242, I245, I247

        Sql::run("delete from tszk");
        press("export");
        QCOMPARE(Driver::shownTexts(), QStringList{"没有找到您需要导出的记录！"});
    }

    void cataloguingOpensTheQuery()
    {
        auto* cataloguing = Driver::openScreen<Ttsbmfm>("tsbm");
        QVERIFY(cataloguing);
        Driver::box<QPushButton>(cataloguing, "BitBtn1")->click();
        screen = static_cast<Tbmcxfm*>(Windows::findOpen("Tbmcxfm"));
        QVERIFY(screen);
        QCOMPARE(Commands::helpContext("bmcx"), 6);
        delete cataloguing;
    }
};

LIBRARY_TEST(BmcxTest)
#include "bmcxtest.moc"
