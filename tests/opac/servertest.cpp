#include "opac/server.h"
#include "fixture.h"
#include "opac/catalogue.h"
#include "seed.h"
#include "testmain.h"

#include <QTcpSocket>
#include <QTest>

namespace {
// Sends raw bytes to the server and returns what came back before it closed or went quiet.
QByteArray exchange(quint16 port, const QByteArray& raw)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(raw);
    QByteArray answer;
    QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        if (socket.bytesAvailable())
            answer += socket.readAll();
        if (answer.contains("</html>") || socket.state() == QAbstractSocket::UnconnectedState)
            break;
        socket.waitForReadyRead(20);
    }
    return answer + socket.readAll();
}
} // namespace

// The catalogue behind a real socket: what arrives malformed is answered, and the server
// keeps serving.
class ServerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        Catalogue::closeConnections();
        fixture.reset();
    }

    void parsesListenAddresses()
    {
        QHostAddress address;
        quint16 port = 0;
        QVERIFY(parseListen("0.0.0.0:8081", &address, &port));
        QCOMPARE(address, QHostAddress(QHostAddress::AnyIPv4));
        QCOMPARE(port, quint16(8081));
        QVERIFY(parseListen("[::1]:80", &address, &port));
        QCOMPARE(address, QHostAddress(QHostAddress::LocalHostIPv6));
        QVERIFY(!parseListen("localhost:80", &address, &port));
        QVERIFY(!parseListen("127.0.0.1:99999", &address, &port));
    }

    void answersOverTheNetwork_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("search")
            << QByteArray("GET /search?q=%E7%BA%A2%E6%A5%BC HTTP/1.1\r\nHost: x\r\n\r\n")
            << QByteArray("200");
        // Qt's URL parser mends a broken escape into a literal percent sign before the
        // site sees it, so the reader gets an ordinary (empty) result page.
        QTest::newRow("broken escape")
            << QByteArray("GET /search?q=%zz HTTP/1.1\r\nHost: x\r\n\r\n") << QByteArray("200");
        QTest::newRow("unknown path")
            << QByteArray("GET /../../etc/passwd HTTP/1.1\r\nHost: x\r\n\r\n") << QByteArray("404");
        QTest::newRow("put") << QByteArray(
                                    "PUT /my HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n")
                             << QByteArray("405");
        QTest::newRow("head") << QByteArray("HEAD / HTTP/1.1\r\nHost: x\r\n\r\n")
                              << QByteArray("200");
    }
    void answersOverTheNetwork()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        Seed::book({});
        OpacServer server;
        const quint16 port = server.listen(QHostAddress::LocalHost, 0);
        QVERIFY(port != 0);
        const QByteArray answer = exchange(port, request);
        QVERIFY2(answer.startsWith("HTTP/1.1 " + status), answer.left(200).constData());
        // Whatever came before, the next reader is served.
        QVERIFY(exchange(port, "GET / HTTP/1.1\r\nHost: x\r\n\r\n").startsWith("HTTP/1.1 200"));
    }

    void survivesGarbage()
    {
        OpacServer server;
        const quint16 port = server.listen(QHostAddress::LocalHost, 0);
        exchange(port, "BREW /pot HTCPCP/1.0\r\n\r\n");
        exchange(port, QByteArray(20000, '\x01'));
        QVERIFY(exchange(port, "GET /help HTTP/1.1\r\nHost: x\r\n\r\n").startsWith("HTTP/1.1 200"));
    }
};

LIBRARY_TEST(ServerTest)
#include "servertest.moc"
