#include "../desk/cardseed.h"
#include "cards/gs.h"
#include "cards/gscx.h"
#include "cards/jgs.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The report-lost, withdraw and register query screens as the operator uses them.
class LostCardScreensTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<QWidget> screen;

    template <typename Screen> void open()
    {
        screen = Windows::showOrActivate<Screen>();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
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
    static QString flag()
    {
        return Sql::scalar("select gsbz from gsb where kno='1001'").toString();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::card("1001", "张三", "11010519491231002X");
        CardSeed::card("2001", "李四", "220");
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void reportByEnterChainThenWithdraw()
    {
        open<TFormgs>();
        QCOMPARE(screen->windowTitle(), QString("挂失信息"));
        QTest::keyClicks(box("Edit1"), "1001");
        QTest::keyClick(box("Edit1"), Qt::Key_Return);
        QVERIFY(box("Edit2")->hasFocus());
        QTest::keyClicks(box("Edit2"), "11010519491231002X");
        QCOMPARE(box("Edit2")->text().size(), 18);
        QTest::keyClick(box("Edit2"), Qt::Key_Return);
        QVERIFY(box<QPushButton>("ok")->hasFocus());
        QCOMPARE(box("Edit3")->text(), QString("张三"));
        Messages::queueAnswer(true);
        QTest::keyClick(box<QPushButton>("ok"), Qt::Key_Return);
        QCOMPARE(shown(),
                 (QStringList{"询问:您确定要挂失此张借书证吗？", "图书馆管理系统:挂失成功！"}));
        QCOMPARE(flag(), QString("是"));
        QTRY_VERIFY(!screen);

        // Reported again: refused with the state named.
        open<TFormgs>();
        box("Edit1")->setText("1001");
        box("Edit2")->setText("11010519491231002X");
        box<QPushButton>("ok")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:没有找到您需要的记录(或者已经挂失了)"});
        QVERIFY(screen->isVisible());
        delete screen;

        open<TFormjgs>();
        QCOMPARE(screen->windowTitle(), QString("解挂失信息"));
        box("Edit1")->setText("1001");
        box("Edit2")->setText("11010519491231002X");
        Messages::queueAnswer(false); // No changes nothing
        box<QPushButton>("ok")->click();
        QCOMPARE(shown(), QStringList{"询问:您确定要解挂失此张借书证吗？"});
        QCOMPARE(flag(), QString("是"));
        Messages::queueAnswer(true);
        box<QPushButton>("ok")->click();
        QCOMPARE(shown(),
                 (QStringList{"询问:您确定要解挂失此张借书证吗？", "图书馆管理系统:解挂失成功！"}));
        QCOMPARE(flag(), QString("否"));
    }

    void wrongIdentityIsRefusedAtTheBox()
    {
        open<TFormgs>();
        box("Edit1")->setText("1001");
        box("Edit2")->setFocus();
        QTest::keyClicks(box("Edit2"), "220");
        QTest::keyClick(box("Edit2"), Qt::Key_Return);
        QCOMPARE(shown(), QStringList{"图书馆管理系统:没有找到您需要的记录"});
        QCOMPARE(box("Edit3")->text(), QString());
        QTRY_VERIFY(box("Edit2")->hasFocus());
        // Leaving for Cancel looks nothing up.
        box<QPushButton>("cancel")->setFocus(Qt::TabFocusReason);
        QCOMPARE(shown(), QStringList());
    }

    void registerQuery()
    {
        Sql::run("update gsb set gsbz='是' where kno='2001'");
        open<TFormgscx>();
        QVERIFY(box("Edit1")->hasFocus());
        QStringList labels;
        for (QLabel* label : screen->findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains("读都姓名"));
        auto* grid = box<QTableView>("DBGrid1");
        const auto listed = [grid] {
            QStringList rows;
            for (int r = 0; r < grid->model()->rowCount(); ++r)
                rows << grid->model()->index(r, 0).data().toString() + "|" +
                            grid->model()->index(r, 4).data().toString();
            return rows;
        };
        box<QPushButton>("query")->click();
        QCOMPARE(listed(), (QStringList{"1001|否", "2001|是"}));
        box<QComboBox>("ComboBox1")->setEditText("是");
        box<QPushButton>("query")->click();
        QCOMPARE(listed(), QStringList{"2001|是"});
        box("Edit2")->setText("张三");
        box<QPushButton>("query")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:没有找到您需要数据！"});
    }
};

LIBRARY_TEST(LostCardScreensTest)
#include "lostcardscreenstest.moc"
