#include "app/appcommands.h"
#include "app/commandtable.h"
#include "app/cshlc.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"

#include <QTest>

// Every command of the menus opens a screen; while screens are still being built, their
// keys are listed here, and a key whose screen is registered must leave the list.
class CommandRegistrationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    // Menu keys whose screens are not built yet.
    const QStringList notYetBuilt = {};
    // Screens that other commands open by class name.
    const QStringList reachedScreens = {"Tyhglfm", "Tpasswordfm", TFormcshlc::roomsKey,
                                        TFormcshlc::classificationKey};

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
    }
    void cleanup() { fixture.reset(); }

    void everyMenuCommandIsRegisteredOrListed()
    {
        for (const QString& key : CommandTable::commandKeys()) {
            const bool registered = Commands::has(key);
            QVERIFY2(registered != notYetBuilt.contains(key),
                     qPrintable(key + (registered ? " is registered: take it off the list"
                                                  : " is neither registered nor listed")));
        }
        for (const QString& key : reachedScreens)
            QVERIFY2(Commands::has(key), qPrintable(key + " is not registered"));
    }

    void everySideBarButtonOpensAMenuCommand()
    {
        const QStringList keys = CommandTable::commandKeys();
        for (const SideBarHeader& header : CommandTable::sideBar())
            for (const SideBarButton& button : header.buttons)
                QVERIFY2(keys.contains(button.key), button.key);
    }

    void anUnbuiltCommandSaysSoAndAnUngrantedOneRefuses()
    {
        Commands::clear();
        QVERIFY(!Commands::open("tsbm", nullptr));
        QCOMPARE(Messages::lastText(), QString("该功能尚未安装。"));
        fixture->loginAs("NOBODY", "无权限", "B");
        bool opened = false;
        Commands::add("tsbm", [&](QWidget*) { opened = true; });
        QVERIFY(!Commands::open("tsbm", nullptr, "您没有此操作权限"));
        QCOMPARE(Messages::lastText(), QString("您没有此操作权限"));
        QVERIFY(!opened);
    }
};

LIBRARY_TEST(CommandRegistrationTest)
#include "commandregistrationtest.moc"
