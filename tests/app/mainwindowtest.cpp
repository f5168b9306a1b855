#include "app/mainwindow.h"
#include "app/appcommands.h"
#include "app/rightsgate.h"
#include "app/startup.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>

namespace {
QAction* actionOf(QWidget* window, const QString& key)
{
    for (QAction* a : window->findChildren<QAction*>())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

void grant(const QString& login, const QStringList& keys)
{
    for (const QString& key : keys)
        Sql::run("insert into usergrantk(loginuser,funename,funcname) values(:a,:b,:c)",
                 {login, key, key});
}

// A stand-in child screen to count instances.
class FakeScreen : public QWidget {
    Q_OBJECT
};
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tmainfm> window;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Session::current().grants.clear(); // an operator who has been granted nothing yet
        Commands::clear();
        AppCommands::registerAll();
        window = std::make_unique<Tmainfm>();
    }
    void cleanup()
    {
        window.reset();
        fixture.reset();
    }

    void beforeLoginOnlyMaintenanceAndHelpShow()
    {
        QStringList visible;
        for (QAction* a : window->findChildren<QAction*>())
            if (!a->objectName().isEmpty() && a->isVisible())
                visible << a->objectName();
        visible.sort();
        QCOMPARE(visible, QStringList({"N1", "N2", "N4", "N5", "xtgn"}));
    }

    void adminSeesEveryMenu()
    {
        QVERIFY(RightsGate::loadGrants(window.get(), "ADMIN") > 30);
        for (const char* key : {"jhgl", "ylsgl", "yjcgl", "kpgl", "bmgl", "dzjs", "cwcx", "xtgn",
                                "N20", "N15", "blxk", "N19", "tsbm", "N9", "N10", "jhzd"})
            QVERIFY2(actionOf(window.get(), key)->isVisible(), key);
        QVERIFY(!actionOf(window.get(), "N22")->isVisible());
    }

    void grantRules()
    {
        // kpcx without kpgl: the menu stays hidden but the side-bar button works.
        grant("U1", {"kpcx", "N22", "nosuchkey", "BLXK"});
        RightsGate::loadGrants(window.get(), "U1");
        QVERIFY(!actionOf(window.get(), "kpgl")->isVisible());
        QVERIFY(actionOf(window.get(), "kpcx")->isVisible());
        QVERIFY(actionOf(window.get(), "N22")->isVisible());
        QVERIFY(!actionOf(window.get(), "blxk")->isVisible()); // letter case counts
        QVERIFY(RightsGate::isGranted(window.get(), "kpcx"));

        int opened = 0;
        Commands::add("kpcx", [&](QWidget*) { ++opened; });
        window->findChild<QToolButton*>("side_kpcx")->click();
        QCOMPARE(opened, 1);
        QVERIFY(Messages::takeShown().isEmpty());
    }

    void sideBarRefusals_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("图书查询") << "bmcx"
                                  << "您没有些操作权限";
        QTest::newRow("充值查询") << "N19"
                                  << "您没有操作此权限";
        QTest::newRow("图书编目") << "tsbm"
                                  << "您没有此操作权限";
        QTest::newRow("基础数据管理") << "jhzd"
                                      << "您没有此操作权限";
        QTest::newRow("财务查询") << "cwcx"
                                  << "您没有此操作权限";
    }
    void sideBarRefusals()
    {
        QFETCH(QString, key);
        QFETCH(QString, refusal);
        window->findChild<QToolButton*>("side_" + key)->click();
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, refusal);
        QCOMPARE(shown[0].caption, QString("图书馆管理系统"));
    }

    void everySideBarButtonHasItsMenuEntry()
    {
        for (QToolButton* b : window->findChildren<QToolButton*>()) {
            if (b->objectName().startsWith("side_"))
                QVERIFY2(actionOf(window.get(), b->objectName().mid(5)),
                         qPrintable(b->objectName()));
        }
    }

    void cardIssuePreCheck()
    {
        int opened = 0;
        Commands::add("Tblxkfm", [&](QWidget*) { ++opened; });
        Session::current().grants.insert("blxk");
        Commands::open("blxk", window.get());
        QCOMPARE(Messages::lastText(), QString("请先进行借阅证的起始编号初始化!"));
        QCOMPARE(Messages::takeShown()[0].caption, QString("提示信息"));
        QCOMPARE(opened, 0);

        Sql::run("insert into jszxh values(:jszxh,:lx)", {QString(), "IC卡"});
        Commands::open("blxk", window.get());
        QCOMPARE(opened, 1);
        QVERIFY(Messages::takeShown().isEmpty());
    }

    void operatorManagementByGrade_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("screen");
        QTest::newRow("A") << "A"
                           << "Tyhglfm";
        QTest::newRow("a") << "a"
                           << "Tyhglfm";
        QTest::newRow("B") << "B"
                           << "Tpasswordfm";
    }
    void operatorManagementByGrade()
    {
        QFETCH(QString, grade);
        QFETCH(QString, screen);
        QString opened;
        Commands::add("Tyhglfm", [&](QWidget*) { opened = "Tyhglfm"; });
        Commands::add("Tpasswordfm", [&](QWidget*) { opened = "Tpasswordfm"; });
        grant("U2", {"ydjhcx"});
        fixture->loginAs("U2", "王五", grade);
        Commands::open("ydjhcx", window.get());
        QCOMPARE(opened, screen);
    }

    void connectionFailureSaysOneErrorWithTheReason()
    {
        Database::close();
        QFile::remove(ProgramPaths::databaseFile());
        QDir().mkpath(ProgramPaths::databaseFile()); // a folder where the file should be
        QVERIFY(!Startup::connectStore(window.get()));
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("图书馆管理系统"));
        QVERIFY(shown[0].text.startsWith("1error\n"));
        QVERIFY(shown[0].text.size() > 7);
    }

    void childScreenOpensOnce()
    {
        Windows::setFrameArea(window->frameArea());
        QWidget* first = Windows::showOrActivate<FakeScreen>();
        QWidget* second = Windows::showOrActivate<FakeScreen>();
        QCOMPARE(first, second);
        QCOMPARE(window->frameArea()->subWindowList().size(), 1);
        first->close();
        QTRY_COMPARE(window->frameArea()->subWindowList().size(), 0);
    }
};

LIBRARY_TEST(MainWindowTest)
#include "mainwindowtest.moc"
