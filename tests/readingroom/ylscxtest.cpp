#include "readingroom/ylscx.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

// The reading-room query: conditions, the grid and its navigator, the notices.
class YlscxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Tylscxfm> screen;

    void open()
    {
        screen = new Tylscxfm;
        screen->show();
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    QLineEdit* edit(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QTableView* grid() { return screen->findChild<QTableView*>("DBGrid1"); }
    void press(const char* name) { screen->findChild<QPushButton*>(name)->click(); }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.caption + ":" + shown.text;
        return texts;
    }
    static void out(const QString& name, const QString& issue, const QString& card)
    {
        Sql::run("insert into zzqkztk(mc,kh,lx,cbrq,dzm,kno,jyrq,cbsmc) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h)",
                 {name, issue, "杂志", "2026-11-01", "张三", card, "2026-12-09", "读者出版社"});
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void anEmptyQueryListsEveryIssueOut()
    {
        open();
        press("BitBtn1");
        QCOMPARE(shownTexts(), QStringList{"提示信息:阅览室中无出借刊物!"});
        edit("Edit4")->setText("DZ"); // a mnemonic alone is a condition
        press("BitBtn1");
        QCOMPARE(shownTexts(), QStringList{"提示信息:该种刊物无读者借阅!"});

        out("读者", "1", "001");
        out("读书", "2", "002");
        press("BitBtn2");
        QCOMPARE(edit("Edit4")->text(), QString());
        press("BitBtn1");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(grid()->model()->rowCount(), 2);
        QStringList titles;
        for (int i = 0; i < grid()->model()->columnCount(); ++i)
            titles << grid()->model()->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"名称", "刊号", "出版日期", "类型", "读者姓名", "借书证编号",
                                      "出版社名称", "借阅日期"}));
        QCOMPARE(grid()->currentIndex().row(), 0);
        auto* navigator = screen->findChild<Navigator*>("DBNavigator1");
        navigator->next()->click();
        QCOMPARE(grid()->currentIndex().row(), 1);
        navigator->next()->click();
        QCOMPARE(grid()->currentIndex().row(), 1);
        navigator->prior()->click();
        QCOMPARE(grid()->currentIndex().row(), 0);
    }

    void enterRunsAlongTheConditionsToTheQuery()
    {
        out("读者", "1", "001");
        open();
        edit("Edit1")->insert("读");
        QTest::keyClick(edit("Edit1"), Qt::Key_Return);
        auto* type = screen->findChild<QComboBox*>("ComboBox1");
        QCOMPARE(QApplication::focusWidget(), type);
        QTest::keyClick(type, Qt::Key_Return);
        QTest::keyClick(edit("Edit2"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit("Edit3"));
        QTest::keyClicks(edit("Edit3"), "2026/11/1");
        QTest::keyClick(edit("Edit3"), Qt::Key_Return);
        QCOMPARE(edit("Edit3")->text(), QString("2026-11-01"));
        QTest::keyClick(edit("Edit5"), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // on 查询&F
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(grid()->model()->rowCount(), 1);
        QCOMPARE(grid()->model()->index(0, 0).data().toString(), QString("读者"));
    }
};

LIBRARY_TEST(YlscxTest)
#include "ylscxtest.moc"
