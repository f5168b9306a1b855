#include "app/appcommands.h"
#include "driver.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/commands.h"

#include <QTest>

// The card-management commands open their screens once each, as the menu and side bar do.
class CardManagementCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
    }
    void cleanup() { fixture.reset(); }

    void everyKeyOpensItsScreenOnce_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("help");
        QTest::newRow("kpcx") << "kpcx"
                              << "Tkpcxfm"
                              << "借书证查询" << 3;
        QTest::newRow("N7") << "N7"
                            << "TFormgs"
                            << "挂失信息" << 0;
        QTest::newRow("N8") << "N8"
                            << "TFormjgs"
                            << "解挂失信息" << 0;
        QTest::newRow("N18") << "N18"
                             << "TFormjjkcz"
                             << "充值管理" << 0;
        QTest::newRow("kpgs") << "kpgs"
                              << "Tkpgsfm"
                              << "注销借书证" << 4;
        QTest::newRow("N19") << "N19"
                             << "TFormjyczcx"
                             << "充值查询" << 0;
        QTest::newRow("N17") << "N17"
                             << "TFormgscx"
                             << "挂失查询" << 0;
    }
    void everyKeyOpensItsScreenOnce()
    {
        QFETCH(QString, key);
        QFETCH(QString, screen);
        QFETCH(QString, title);
        QFETCH(int, help);
        QCOMPARE(Commands::helpContext(key), help);
        QVERIFY(Driver::open(key));
        QVERIFY(Driver::open(key));
        QWidgetList open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && screen == w->metaObject()->className())
                open << w;
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first()->windowTitle(), title);
        QCOMPARE(Driver::shown(), QStringList());
        delete open.first();
    }

    void anOperatorWithoutTheGrantIsRefused()
    {
        fixture->loginAs("NOBODY", "无权限", "B");
        QVERIFY(!Driver::open("N18"));
        QCOMPARE(Driver::shownTexts(), QStringList{"您没有此操作权限"});
    }
};

LIBRARY_TEST(CardManagementCommandsTest)
#include "cardmanagementcommandstest.moc"
