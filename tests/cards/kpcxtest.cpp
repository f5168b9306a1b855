#include "cards/kpcx.h"
#include "../desk/cardseed.h"
#include "../reports/reportprobe.h"
#include "cards/cardgrid.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

// The card query screen: conditions, count and deposit total, the current card after a
// query, corrections in the grid and the reprint.
class KpcxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Tkpcxfm> screen;

    template <typename T = QLineEdit> T* box(const char* name)
    {
        T* found = screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QTableView* grid() { return box<QTableView>("DBGrid1"); }
    CardGridModel* model() { return static_cast<CardGridModel*>(grid()->model()); }
    void click(const char* name) { box<QPushButton>(name)->click(); }
    QString panel(const char* name) { return box<QLabel>(name)->text(); }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }
    QString currentCard() { return model()->card(grid()->currentIndex().row()).number; }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::grade("A");
        CardSeed::card("1001", "张三", "110", "2026-03-01", 0.1);
        CardSeed::card("1002", "李四", "111", "2026-03-01", 0.1);
        CardSeed::card("1003", "张三", "112", "2026-03-02", 0.1);
        Sql::run("update cardk set gzdw='第一中学'");
        screen = Windows::showOrActivate<Tkpcxfm>();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void emptyConditionsListEveryCardWithTheExactTotal()
    {
        QVERIFY(!screen->isQueried());
        click("query");
        QCOMPARE(shown(), QStringList());
        QCOMPARE(model()->rowCount(), 3);
        QCOMPARE(panel("countPanel"), QString("3条记录"));
        QCOMPARE(panel("depositPanel"), QString("0.3"));
        // The last listed card is current, and the reprint prints it at once.
        QCOMPARE(currentCard(), QString("1003"));
        QVERIFY(grid()->selectionModel()->isRowSelected(2, {}));
        QVERIFY(QDir().mkpath(fixture->path("reports")));
        box<QLineEdit>("Edit1")->setFocus();
        QTest::keyClick(box<QLineEdit>("Edit1"), Qt::Key_P, Qt::ControlModifier);
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().kind, ReportOutput::Request::Kind::Preview);
        // The card printed is the last one, with an empty work unit.
        const QString printed = ReportProbe::pdfText(requests.first().pdf);
        QVERIFY2(printed.contains("1003") && printed.contains("112"), qPrintable(printed));
        QVERIFY2(!printed.contains("第一中学"), qPrintable(printed));
        // It carries the number barcode that the desk scans, as an issued card does.
        QCOMPARE(ReportProbe::barcodes(requests.first().pdf), QStringList{"1003"});
    }

    void webPinResetNeedsItsGrantAndGivesAFirstPin()
    {
        QVERIFY(box<QPushButton>("kpmm")->isVisibleTo(screen));
        click("query");
        grid()->selectRow(1);
        QCOMPARE(currentCard(), QString("1002"));
        Messages::queueAnswer(true);
        click("kpmm");
        const QStringList texts = shown();
        QCOMPARE(texts.size(), 2); // the question, then the PIN
        const auto pin =
            QRegularExpression("1002 的网上初始密码是：(\\d{6})\n").match(texts.last());
        QVERIFY2(pin.hasMatch(), qPrintable(texts.last()));
        QCOMPARE(Fixture::count("select count(*) from dzmmk where kno='1002' and xgbz='Y'"), 1);

        delete screen;
        fixture->loginAs("OP", "操作员", "B"); // holds no grant
        screen = Windows::showOrActivate<Tkpcxfm>();
        QVERIFY(!box<QPushButton>("kpmm")->isVisibleTo(screen));
    }

    void noRowsKeepsTheStatusBar()
    {
        click("query");
        box("Edit1")->setText("1002");
        box("Edit3")->setText("张三"); // number and name must both match
        click("query");
        QCOMPARE(shown(), QStringList{"提示信息:没有查找到你所需的记录,请重新输入!"});
        QCOMPARE(panel("countPanel"), QString("3条记录"));
        box("Edit3")->setText("李四");
        click("query");
        QCOMPARE(panel("countPanel"), QString("1条记录"));
    }

    void reprintWaitsForAQuery()
    {
        QTest::keyClick(grid(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(ReportOutput::takeRequests().isEmpty());
    }

    void dateBoxes()
    {
        QLineEdit* from = box("Edit4");
        QLineEdit* to = box("Edit2");
        from->setFocus();
        QTest::keyClicks(from, "2026-3-40");
        to->setFocus();
        QCOMPARE(shown(), QStringList{"提示信息:日期格式错误!"});
        QCOMPARE(from->text(), QString());
        QTRY_VERIFY(from->hasFocus());

        QTest::keyClicks(from, "2026/3/2");
        QTest::keyClick(from, Qt::Key_Return);
        QVERIFY(to->hasFocus());
        QCOMPARE(from->text(), QString("2026-03-02"));
        QTest::keyClicks(to, "2026-03-01");
        QTest::keyClick(to, Qt::Key_Return);
        QCOMPARE(shown(), QStringList{"提示信息:该日期小于前一个日期!"});
        QCOMPARE(to->text(), QString());

        // A from-date alone is that day.
        click("query");
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(currentCard(), QString("1003"));
    }

    void correctionsStoreOnSaveAndOnLeavingTheRow()
    {
        click("query");
        QVERIFY(!(model()->flags(model()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(model()->flags(model()->index(0, 4)) & Qt::ItemIsEditable);
        QVERIFY(!model()->setData(model()->index(0, 0), "9999", Qt::EditRole));

        // A deposit corrected and saved is stored; the total follows with the next query.
        QVERIFY(model()->setData(model()->index(2, 4), "12.5", Qt::EditRole));
        click("save");
        QCOMPARE(shown(), QStringList());
        QCOMPARE(Sql::scalar("select yj from cardk where kno='1003'").toDouble(), 12.5);
        QCOMPARE(model()->data(model()->index(2, 4), Qt::DisplayRole).toString(), QString("12.50"));
        QCOMPARE(panel("depositPanel"), QString("0.3"));
        click("query");
        QCOMPARE(panel("depositPanel"), QString("12.7"));

        // Moving to another row stores the row that was corrected.
        grid()->setCurrentIndex(model()->index(0, 2));
        QVERIFY(model()->setData(model()->index(0, 2), "张三丰", Qt::EditRole));
        grid()->setCurrentIndex(model()->index(1, 2));
        QCOMPARE(Sql::scalar("select dzm from cardk where kno='1001'").toString(),
                 QString("张三丰"));

        // A bad date is refused and nothing of the row is stored.
        QVERIFY(model()->setData(model()->index(1, 7), "6666", Qt::EditRole));
        QVERIFY(model()->setData(model()->index(1, 5), "2027-02-30", Qt::EditRole));
        click("save");
        QCOMPARE(shown(), QStringList{"提示信息:日期格式错误!"});
        QCOMPARE(CardSeed::rows("select tel,yxrq from cardk where kno='1002'"),
                 QStringList{"8888|2027-01-05"});
        QCOMPARE(model()->data(model()->index(1, 5), Qt::DisplayRole).toString(),
                 QString("2027-01-05"));
        // Nothing is being edited now: save does nothing.
        click("save");
        QCOMPARE(shown(), QStringList());
    }

    void photoFollowsTheClickedRow()
    {
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = fixture->path("1002.bmp");
        QVERIFY(picture.save(path));
        Sql::run("update cardk set strpath=:p where kno='1002'", {path});
        click("query");
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(model()->index(1, 1)).center());
        QCOMPARE(screen->photoCard(), QString("1002"));
        QVERIFY(!box<QLabel>("Image1")->pixmap().isNull());
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(model()->index(0, 1)).center());
        QCOMPARE(screen->photoCard(), QString());
        QVERIFY(box<QLabel>("Image1")->pixmap().isNull());
    }

    void exportNeedsBothDates()
    {
        box("Edit4")->setText("2026-03-01");
        click("export");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:日期不能为空！"});
    }
};

LIBRARY_TEST(KpcxTest)
#include "kpcxtest.moc"
