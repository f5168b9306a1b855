#include "cards/kpgs.h"
#include "../desk/cardseed.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// The cancellation screen: search, the proposed refund, the refusals and the cancellation.
class KpgsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Tkpgsfm> screen;

    template <typename T = QLineEdit> T* box(const char* name)
    {
        T* found = screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char* name) { box<QPushButton>(name)->click(); }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::card("1002", "张三", "110", "2026-01-05", 50);
        CardSeed::card("1001", "张三", "111", "2026-01-05", 30.5);
        screen = Windows::showOrActivate<Tkpgsfm>();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void searchByNameTakesTheFirstCardAndProposesItsDeposit()
    {
        click("cancelCard");
        QCOMPARE(shown(), QStringList{"提示信息:请先查询!"});
        QVERIFY(box<QPushButton>("query")->hasFocus());

        box("Edit2")->setFocus();
        box("Edit2")->setText("张三");
        QTest::keyClick(box("Edit2"), Qt::Key_Return);
        QVERIFY(box<QPushButton>("query")->hasFocus());
        QTest::keyClick(box<QPushButton>("query"), Qt::Key_Return);
        QCOMPARE(screen->searched(), QString("1001"));
        QCOMPARE(box("Edit1")->text(), QString("1001"));
        QCOMPARE(box("Edit3")->text(), QString("30.5"));
        QCOMPARE(box("Edit4")->text(), QString("2027-01-05"));
        QCOMPARE(box("Yj")->text(), QString("30.5"));
        QCOMPARE(box("Sfzh")->text(), QString("111"));

        // A search that finds nothing forgets the card.
        box("Edit1")->setText("9999");
        click("query");
        QCOMPARE(shown(), QStringList{"提示信息:没有查找到所需记录!"});
        QCOMPARE(screen->searched(), QString());
        QCOMPARE(box("Yj")->text(), QString());
        click("cancelCard");
        QCOMPARE(shown(), QStringList{"提示信息:请先查询!"});
    }

    void lostCardIsRefused()
    {
        Sql::run("update gsb set gsbz='是' where kno='1002'");
        box("Edit1")->setText("1002");
        click("query");
        click("cancelCard");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:此借书证已经挂失, 不能注销"});
        QCOMPARE(Fixture::count("select count(*) from cardk"), 2);
    }

    void changedRefundIsPaid()
    {
        box("Edit1")->setText("1002");
        click("query");
        box("Edit3")->setFocus();
        box("Edit3")->setText("4o");
        box("Edit1")->setFocus();
        QCOMPARE(shown(), QStringList{"提示信息:金额格式错误!"});
        QTRY_VERIFY(box("Edit3")->hasFocus());
        box("Edit3")->setText("45.50");
        box("Edit1")->setFocus();
        QCOMPARE(box("Edit3")->text(), QString("45.5"));
        // The card box edited after the search: the searched card is cancelled.
        box("Edit1")->setText("1001");
        click("cancelCard");
        QCOMPARE(shown(), QStringList{"提示信息:注销成功!"});
        QCOMPARE(CardSeed::rows("select kno from cardk"), QStringList{"1001"});
        QCOMPARE(CardSeed::rows("select zcje,szyy from cwk"), QStringList{"45.5|退还押金"});
        for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"})
            QVERIFY2(box(name)->text().isEmpty(), name);
        QCOMPARE(screen->searched(), QString());
        QVERIFY(box("Edit1")->hasFocus());
    }
};

LIBRARY_TEST(KpgsTest)
#include "kpgstest.moc"
