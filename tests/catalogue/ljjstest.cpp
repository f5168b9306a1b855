#include "catalogue/ljjs.h"
#include "app/appcommands.h"
#include "catalogue/ljmbsz.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/commands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}
} // namespace

// Copy cataloguing as the operator meets it: targets set up under 基础数据管理, then a
// search that lists the hits of every target and names the ones that did not answer.
class LjjsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QProcess server;
    int port = 0;

    static void addTarget(const QString& name, int targetPort)
    {
        Sql::run("insert into ljmbk(mc,zj,dk,sjk,jlgs,zfj,sfqy) values(:a,:b,:c,:d,:e,:f,:g)",
                 {name, "127.0.0.1", targetPort, "Default", "USMARC", "UTF-8", "Y"});
    }

private slots:
    void initTestCase()
    {
        port = freePort();
        server.start("yaz-ztest", {QString("tcp:127.0.0.1:%1").arg(port)});
        QVERIFY(server.waitForStarted(5000));
        QTest::qWait(300);
    }
    void cleanupTestCase()
    {
        server.kill();
        server.waitForFinished();
    }
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
    }
    void cleanup() { fixture.reset(); }

    void targetsAreSetUpThroughTheirCommand()
    {
        const bool seen = Driver::whileModal(
            "Tljmbszfm",
            [](QWidget* screen) {
                Driver::box<QLineEdit>(screen, "Edit1")->setText("国家图书馆");
                Driver::box<QLineEdit>(screen, "Edit2")->setText("");
                Driver::box<QPushButton>(screen, "save")->click();
                QCOMPARE(Driver::shownTexts(), QStringList{"请输入检索目标的主机地址!"});
                Driver::box<QLineEdit>(screen, "Edit2")->setText("z3950.example.cn");
                Driver::box<QComboBox>(screen, "ComboBox2")->setCurrentText("GBK");
                Driver::box<QPushButton>(screen, "save")->click();
                QCOMPARE(Driver::shownTexts(), QStringList());
                QCOMPARE(Driver::box<QTableView>(screen, "DBGrid1")->model()->rowCount(), 1);
                QTest::keyClick(screen, Qt::Key_Escape);
            },
            [] { QVERIFY(Driver::open("ljmb")); });
        QVERIFY(seen);
        QCOMPARE(Sql::scalar("select zj from ljmbk where mc='国家图书馆'").toString(),
                 QString("z3950.example.cn"));
        QCOMPARE(Sql::scalar("select dk from ljmbk").toInt(), 210);
    }

    void aSearchListsHitsAndNamesTheTargetThatDidNotAnswer()
    {
        addTarget("测试目标", port);
        addTarget("停用的目标", freePort());
        Tljjsfm dialog;
        Driver::box<QComboBox>(&dialog, "ComboBox1")->setCurrentIndex(1); // 题名
        Driver::box<QLineEdit>(&dialog, "Edit1")->setText("computer");
        Driver::box<QPushButton>(&dialog, "search")->click();
        QVERIFY(dialog.isSearching());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isSearching(), 15000);
        const QStringList shown = Driver::shownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains("停用的目标"));
        auto* grid = Driver::box<QTableView>(&dialog, "DBGrid1");
        QVERIFY(grid->model()->rowCount() > 0);
        QCOMPARE(grid->model()->index(0, 0).data().toString(),
                 QString("How to program a computer"));
        Driver::box<QPushButton>(&dialog, "ok")->click();
        QVERIFY(dialog.chosen());
        QCOMPARE(dialog.chosen()->author, QString("Jack Collins"));
    }

    void withoutTargetsTheSearchSaysWhereToSetThemUp()
    {
        Tljjsfm dialog(nullptr, "7-02-000220-X");
        Driver::box<QPushButton>(&dialog, "search")->click();
        QCOMPARE(Driver::shownTexts(),
                 QStringList{"还没有设置联机检索目标,请先在“联机检索目标设置”中设置!"});
        Driver::box<QLineEdit>(&dialog, "Edit1")->setText("7-02-000220-1");
        Driver::box<QPushButton>(&dialog, "search")->click();
        QCOMPARE(Driver::shownTexts(), QStringList{"ISBN号不正确,请重输!"});
    }
};

LIBRARY_TEST(LjjsTest)
#include "ljjstest.moc"
