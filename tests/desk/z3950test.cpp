#include "desk/z3950.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A port nothing listens on right now.
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

Z3950Target local(int port)
{
    Z3950Target target;
    target.name = "测试目标";
    target.host = "127.0.0.1";
    target.port = port;
    target.database = "Default";
    target.syntax = "USMARC";
    target.charset = "UTF-8";
    return target;
}
} // namespace

// Searching a real Z39.50 server: YAZ's test server on a local port.
class Z3950Test : public QObject {
    Q_OBJECT
    QProcess server;
    int port = 0;

private slots:
    void initTestCase()
    {
        port = freePort();
        server.start("yaz-ztest", {QString("tcp:127.0.0.1:%1").arg(port)});
        QVERIFY2(server.waitForStarted(5000), "yaz-ztest (package yaz) is needed");
        QTest::qWait(300); // let it listen
    }
    void cleanupTestCase()
    {
        server.kill();
        server.waitForFinished();
    }

    void aSearchReturnsRecords()
    {
        const Z3950Answer answer =
            Z3950::search(local(port), {Z3950Query::Field::Title, "computer"}, 5, 3);
        QCOMPARE(answer.error, QString());
        QVERIFY(answer.found > 0);
        QCOMPARE(answer.records.size(), std::min(answer.found, 3));
        QCOMPARE(answer.records.first().title, QString("How to program a computer"));
        QCOMPARE(answer.records.first().author, QString("Jack Collins"));
        QCOMPARE(answer.records.first().target, QString("测试目标"));
    }

    void aDeadPortIsNamedWithinTheTimeout()
    {
        QElapsedTimer clock;
        clock.start();
        const Z3950Answer answer =
            Z3950::search(local(freePort()), {Z3950Query::Field::Title, "computer"}, 3);
        QVERIFY(!answer.error.isEmpty());
        QCOMPARE(answer.target, QString("测试目标"));
        QVERIFY(answer.records.isEmpty());
        QVERIFY(clock.elapsed() < 5000);
    }

    void aCancelledSearchFetchesNoRecords()
    {
        std::atomic_bool cancelled = true;
        const Z3950Answer answer =
            Z3950::search(local(port), {Z3950Query::Field::Title, "computer"}, 5, 20, &cancelled);
        QVERIFY(answer.records.isEmpty());
    }
};

LIBRARY_TEST(Z3950Test)
#include "z3950test.moc"
