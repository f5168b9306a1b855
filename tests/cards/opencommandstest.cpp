#include "app/appcommands.h"
#include "cards/bhcsh.h"
#include "cards/blxk.h"
#include "cards/kpsz.h"
#include "driver.h"
#include "finance/cwcx.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"

#include <QPointer>
#include <QTest>

// The card and finance screens open through their commands, as the menus open them.
class OpenCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
    }
    void cleanup()
    {
        // Deleting a screen also deletes its pop-ups, which are top-level widgets too.
        QList<QPointer<QWidget>> screens;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("Tblxkfm") || w->inherits("Tcwcxfm"))
                screens << w;
        qDeleteAll(screens);
        fixture.reset();
    }

    void childScreensOpenOnceByTheirKeys()
    {
        Seed::sequence("1001");
        auto* issue = Driver::openScreen<Tblxkfm>("blxk");
        QVERIFY(issue);
        QCOMPARE(Driver::openScreen<Tblxkfm>("blxk"), issue); // brought to the front
        QVERIFY(Driver::openScreen<Tcwcxfm>("cwcx"));
        QCOMPARE(Driver::shown(), QStringList());
    }

    void modalSettingsScreensRunAndClose()
    {
        for (const char* key : {"Tkpszfm", "Tbhcshfm"}) {
            const bool seen = Driver::whileModal(
                key, [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
                [key] { Driver::open(key); });
            QVERIFY2(seen, key);
        }
    }
};

LIBRARY_TEST(OpenCommandsTest)
#include "opencommandstest.moc"
