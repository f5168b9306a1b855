#include "cards/bhcsh.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The numbering screen: the next card number and type, never one a card already has.
class BhcshTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tbhcshfm> screen;

    void open()
    {
        screen = std::make_unique<Tbhcshfm>();
        screen->show();
    }
    QLineEdit* number() { return screen->findChild<QLineEdit*>("Edit1"); }
    void click(const char* name) { screen->findChild<QAbstractButton*>(name)->click(); }
    static QStringList sequence()
    {
        QStringList rows;
        Sql q("select * from jszxh");
        q.exec();
        while (q.next())
            rows << q.text("jszxh") + "/" + q.text("lx");
        return rows;
    }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.caption + ":" + shown.text;
        return texts;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void okInsertsIntoAnEmptyTable()
    {
        open();
        QCOMPARE(number()->text(), QString());
        QVERIFY(screen->findChild<QRadioButton*>("RadioButton1")->isChecked());
        QTest::keyClicks(number(), "20260001");
        click("ok");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(sequence(), QStringList{"20260001/IC卡"});
        QVERIFY(!screen->isVisible());
    }

    void okOverwritesBothColumnsOfTheOneRow()
    {
        Sql::run("insert into jszxh values(:a,:b)", {"100", "IC卡"});
        open();
        QCOMPARE(number()->text(), QString("100"));
        // The stored type is not loaded; "借书证" stores "借阅证".
        QVERIFY(screen->findChild<QRadioButton*>("RadioButton1")->isChecked());
        screen->findChild<QRadioButton*>("RadioButton2")->setChecked(true);
        number()->setText("500");
        click("ok");
        QCOMPARE(sequence(), QStringList{"500/借阅证"});
    }

    void refusedNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "提示信息:请输入编号";
        QTest::newRow("used by a card") << "0007"
                                        << "提示:有读者已存在此编号，请重输！";
        QTest::newRow("not digits") << "A-01"
                                    << "提示信息:编号只能由数字组成，请重输！";
        QTest::newRow("blank inside") << "12 3"
                                      << "提示信息:编号只能由数字组成，请重输！";
    }
    void refusedNumbers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Sql::run("insert into cardk(kno,kdj,dzm) values(:a,:b,:c)", {"0007", "A", "王五"});
        Sql::run("insert into jszxh values(:a,:b)", {"100", "借阅证"});
        open();
        number()->setText(typed);
        click("ok");
        QCOMPARE(shownTexts(), QStringList{message});
        QCOMPARE(sequence(), QStringList{"100/借阅证"});
        QVERIFY(screen->isVisible());
    }

    void closingRefusesANumberInUse()
    {
        // A number typed by hand at card issue can leave the stored number taken.
        Sql::run("insert into cardk(kno,kdj,dzm) values(:a,:b,:c)", {"100", "A", "王五"});
        Sql::run("insert into jszxh values(:a,:b)", {"100", "IC卡"});
        open();
        click("close");
        QCOMPARE(shownTexts(), QStringList{"提示:有读者已存在此编号，请重输！"});
        QVERIFY(screen->isVisible());
        QTest::keyClick(screen.get(), Qt::Key_Escape);
        QVERIFY(screen->isVisible());
        Messages::takeShown();

        number()->clear(); // an empty box passes
        screen->close();
        QVERIFY(!screen->isVisible());
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(sequence(), QStringList{"100/IC卡"});
    }

    void enterOnCloseClosesWithoutWriting()
    {
        open();
        screen->activateWindow();
        QTest::keyClicks(number(), "300");
        auto* close = screen->findChild<QPushButton*>("close");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!screen->isVisible());
        QCOMPARE(sequence(), QStringList());
    }
};

LIBRARY_TEST(BhcshTest)
#include "bhcshtest.moc"
