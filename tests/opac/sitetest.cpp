#include "opac/site.h"
#include "data/clock.h"
#include "data/dates.h"
#include "data/sql.h"
#include "desk/readerpins.h"
#include "fixture.h"
#include "opac/catalogue.h"
#include "seed.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>
#include <QUrl>

namespace {
const QDate today = Fixture::today();

// A reader's browser: keeps the cookies the site sets, sends forms with the page's token.
struct Browser {
    Site& site;
    QMap<QByteArray, QByteArray> cookies = {};
    QHostAddress address = QHostAddress("192.0.2.1");
    WebResponse last = {};

    WebResponse send(const QByteArray& method, const QString& path, const QByteArray& query = {},
                     const QByteArray& body = {})
    {
        WebRequest r;
        r.method = method;
        r.path = path;
        r.rawQuery = query;
        r.body = body;
        r.cookies = cookies;
        r.remote = address;
        last = site.handle(r);
        for (const auto& [name, value] : last.headers) {
            if (name != "Set-Cookie")
                continue;
            const QByteArray pair = value.split(';').first();
            const qsizetype eq = pair.indexOf('=');
            if (value.contains("Max-Age=0"))
                cookies.remove(pair.left(eq));
            else
                cookies.insert(pair.left(eq), pair.mid(eq + 1));
        }
        return last;
    }
    WebResponse get(const QString& path, const QByteArray& query = {})
    {
        return send("GET", path, query);
    }
    // The form token on the last page.
    QByteArray token() const
    {
        const auto m = QRegularExpression("name=\"token\" value=\"([0-9a-f]+)\"")
                           .match(QString::fromUtf8(last.body));
        return m.captured(1).toLatin1();
    }
    WebResponse post(const QString& path, const QByteArray& fields)
    {
        return send("POST", path, {}, "token=" + token() + "&" + fields);
    }
    QString location() const
    {
        for (const auto& [name, value] : last.headers)
            if (name == "Location")
                return QString::fromUtf8(value);
        return {};
    }
    QString text() const { return QString::fromUtf8(last.body); }
};

void book(const QString& barcode, const QString& title, const QString& isbn,
          const QString& classCode, int copies = 1, int lent = 0)
{
    Seed::book({barcode, title, "曹雪芹", copies, lent, lent >= copies ? "C" : "W"});
    Sql::run("update tszk set isbn=:a, mxflm=:b, pyzjh=:c, fsjh=:d where txm=:e",
             {isbn, classCode, "HLM", "A-01", barcode});
}

QString storedDue(qint64 loan)
{
    return Sql::scalar("select hsrq from dzjsmxk where iid=:iid", {loan}).toString();
}
} // namespace

class SiteTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Site> site;
    QDateTime clock;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        site = std::make_unique<Site>();
        clock = QDateTime(today, QTime(10, 0), Qt::UTC);
        site->setClock([this] { return clock; });
        Seed::grade({}); // 30 days, one renewal, 0.5 a day late
        Seed::card({});  // 1001, identity ...002X: first PIN 31002X
        book("B0001", "红楼梦新评", "978-7-02-000220-7", "I242");
        book("B0002", "<script>alert(1)</script>", "", "I247", 2, 2);
        book("B0003", "水浒传", "9787020008735", "I242");
    }
    void cleanup()
    {
        site.reset();
        Catalogue::closeConnections();
        fixture.reset();
    }

    void searchFindsByEachKindOfKeyword_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("barcodes");
        const auto row = [](const char* name, const char* keyword, const char* field,
                            const QStringList& barcodes) {
            QTest::newRow(name) << QString::fromUtf8(keyword) << QString(field) << barcodes;
        };
        row("two characters inside a title", "新评", "q", {"B0001"});
        row("fragment of three", "楼梦新", "q", {"B0001"});
        row("one character starts a title", "水", "q", {"B0003"});
        row("one character inside finds nothing", "浒", "q", {});
        row("isbn with hyphens", "978-7-02-000220-7", "q", {"B0001"});
        row("isbn without", "9787020008735", "q", {"B0003"});
        row("barcode", "B0003", "q", {"B0003"});
        row("author", "曹雪", "q", {"B0001", "B0002", "B0003"});
        row("class", "I247", "class", {"B0002"});
        row("like wildcard is a character", "%", "q", {});
        row("underscore is a character", "红_梦", "q", {});
    }
    void searchFindsByEachKindOfKeyword()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, field);
        QFETCH(QStringList, barcodes);
        Browser b{*site};
        QCOMPARE(b.get("/search", field.toLatin1() + "=" + QUrl::toPercentEncoding(keyword)).status,
                 200);
        QStringList found;
        for (const auto& m : QRegularExpression("/title\\?b=(B\\d+)").globalMatch(b.text()))
            found << m.captured(1);
        found.sort();
        QCOMPARE(found, barcodes);
    }

    void resultsShowAvailabilityAndEscapeTitles()
    {
        Browser b{*site};
        b.get("/search", "q=" + QUrl::toPercentEncoding(QString::fromUtf8("曹雪芹")));
        QVERIFY(b.text().contains("全部借出"));
        QVERIFY(b.text().contains("可借 1 册"));
        QVERIFY(b.text().contains("&lt;script&gt;alert(1)&lt;/script&gt;"));
        QVERIFY(!b.text().contains("<script>"));
        QCOMPARE(b.get("/title", "b=B0001").status, 200);
        QVERIFY(b.text().contains("978-7-02-000220-7"));
        QVERIFY(b.text().contains("I242 / A-01"));
        QCOMPARE(b.get("/new").status, 200);
        QVERIFY(b.text().contains("水浒传"));
    }

    void badInputGetsAClearAnswer_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<int>("status");
        QTest::newRow("quote") << QByteArray("GET") << "/search"
                               << QByteArray("q=%22%27+or+1%3D1--") << 200;
        QTest::newRow("script") << QByteArray("GET") << "/search"
                                << QByteArray("q=%3Cscript%3Ealert(2)%3C%2Fscript%3E") << 200;
        QTest::newRow("10000 characters")
            << QByteArray("GET") << "/search" << QByteArray("q=") + QByteArray(10000, 'a') << 400;
        QTest::newRow("broken escape")
            << QByteArray("GET") << "/search" << QByteArray("q=%zz%3") << 400;
        QTest::newRow("not utf-8")
            << QByteArray("GET") << "/search" << QByteArray("q=%E4%B8") << 400;
        QTest::newRow("unknown path")
            << QByteArray("GET") << "/admin<script>" << QByteArray() << 404;
        QTest::newRow("unknown method") << QByteArray("DELETE") << "/search" << QByteArray() << 405;
        QTest::newRow("post to a page") << QByteArray("POST") << "/search" << QByteArray() << 405;
        QTest::newRow("get a form's target")
            << QByteArray("GET") << "/renew" << QByteArray() << 405;
        QTest::newRow("unknown title")
            << QByteArray("GET") << "/title" << QByteArray("b=%3Cb%3E") << 404;
        QTest::newRow("huge page number")
            << QByteArray("GET") << "/search" << QByteArray("q=B&page=99999999999") << 200;
    }
    void badInputGetsAClearAnswer()
    {
        QFETCH(QByteArray, method);
        QFETCH(QString, path);
        QFETCH(QByteArray, query);
        QFETCH(int, status);
        Browser b{*site};
        QCOMPARE(b.send(method, path, query).status, status);
        QVERIFY(b.text().contains("</html>"));
        QVERIFY(!b.text().contains("<script>"));
        QVERIFY(!b.text().contains("<b>"));
        QVERIFY(!b.text().contains("' or 1=1"));
    }

    void searchConnectionCannotWrite()
    {
        QSqlQuery q(Catalogue::connection());
        QVERIFY(!q.exec("delete from tszk"));
        QCOMPARE(Fixture::count("select count(*) from tszk"), 3);
    }

    void firstSignInForcesAPinChange()
    {
        Browser b{*site};
        b.get("/my");
        QCOMPARE(b.location(), QString("/signin"));
        b.get("/signin");
        b.post("/signin", "card=1001&pin=31002X");
        QCOMPARE(b.location(), QString("/pin"));
        b.get("/my");
        QCOMPARE(b.location(), QString("/pin")); // nothing else until the PIN is changed
        b.get("/pin");
        b.post("/pin", "current=31002X&pin=31002X&again=31002X");
        QVERIFY(b.text().contains("新密码不能和初始密码相同"));
        b.post("/pin", "current=31002X&pin=abc&again=abc");
        QVERIFY(b.text().contains("至少要6位"));
        b.post("/pin", "current=31002X&pin=secret7&again=secret7");
        QCOMPARE(b.location(), QString("/my"));
        QCOMPARE(b.get("/my").status, 200);
        QVERIFY(b.text().contains("密码已修改"));

        // The first PIN no longer signs in; the new one does, without the change page.
        Browser other{*site};
        other.get("/signin");
        QCOMPARE(other.post("/signin", "card=1001&pin=31002X").status, 403);
        other.get("/signin");
        other.post("/signin", "card=1001&pin=secret7");
        QCOMPARE(other.location(), QString("/my"));
    }

    void sessionCookieIsStrict()
    {
        Browser b{*site};
        b.get("/signin");
        b.post("/signin", "card=1001&pin=31002X");
        QByteArray setCookie;
        for (const auto& [name, value] : b.last.headers)
            if (name == "Set-Cookie" && value.startsWith("opac_session="))
                setCookie = value;
        QVERIFY(setCookie.contains("HttpOnly"));
        QVERIFY(setCookie.contains("SameSite=Strict"));
        QVERIFY(setCookie.contains("Max-Age=1800"));
        // The session ends after half an hour without a request.
        clock = clock.addSecs(31 * 60);
        b.get("/pin");
        QCOMPARE(b.location(), QString("/signin"));
    }

    void signInWithoutTheFormTokenIsRefused()
    {
        Browser b{*site};
        b.send("POST", "/signin", {}, "card=1001&pin=31002X");
        QVERIFY(b.location().isEmpty());
        QVERIFY(b.text().contains("页面已过期"));
    }

    void myLoansAndRenewal()
    {
        const qint64 onTime = Seed::loan("1001", "B0001", today.addDays(-20), today.addDays(10));
        const qint64 late = Seed::loan("1001", "B0003", today.addDays(-40), today.addDays(-4));
        Sql::run("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,xjcs) "
                 "values('1001','B0002','2026-01-01','x','2026-02-01','x',0)");
        Browser b{*site};
        b.get("/signin");
        b.post("/signin", "card=1001&pin=31002X");
        b.get("/pin");
        b.post("/pin", "current=31002X&pin=secret7&again=secret7");
        b.get("/my");
        QVERIFY(b.text().contains(Dates::toText(today.addDays(10))));
        QVERIFY(b.text().contains("2.00"));  // four days late at 0.5 a day
        QVERIFY(b.text().contains("50.00")); // the deposit

        // Without the form token nothing changes.
        b.send("POST", "/renew", {}, "loan=" + QByteArray::number(onTime));
        QCOMPARE(b.last.status, 403);
        QCOMPARE(storedDue(onTime), Dates::toText(today.addDays(10)));

        b.get("/my");
        b.post("/renew", "loan=" + QByteArray::number(onTime));
        QCOMPARE(b.location(), QString("/my"));
        QCOMPARE(storedDue(onTime), Dates::toText(today.addDays(40)));
        QCOMPARE(Fixture::count("select count(*) from wsxjk where iid=:i", {onTime}), 1);
        b.get("/my");
        QVERIFY(b.text().contains("续借成功"));
        QVERIFY(b.text().contains("1（网上）"));

        // The grade allows one renewal.
        b.post("/renew", "loan=" + QByteArray::number(onTime));
        b.get("/my");
        QVERIFY(b.text().contains("不能再续借"));
        QCOMPARE(storedDue(onTime), Dates::toText(today.addDays(40)));

        // A loan that owes a fine is renewed at the desk, and no fine is written.
        b.post("/renew", "loan=" + QByteArray::number(late));
        b.get("/my");
        QVERIFY(b.text().contains("请到借阅处交纳罚款"));
        QCOMPARE(storedDue(late), Dates::toText(today.addDays(-4)));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);

        b.get("/my/history");
        QVERIFY(b.text().contains("2026-02-01"));
    }

    void noReaderReachesAnotherReadersLoan()
    {
        Seed::card({"1002", "A", "李四", "110105199001011234"});
        const qint64 theirs = Seed::loan("1002", "B0001", today.addDays(-5), today.addDays(25));
        Browser b{*site};
        b.get("/signin");
        b.post("/signin", "card=1001&pin=31002X");
        b.get("/pin");
        b.post("/pin", "current=31002X&pin=secret7&again=secret7");
        b.get("/my");
        QVERIFY(!b.text().contains("李四"));
        b.post("/renew", "loan=" + QByteArray::number(theirs));
        b.get("/my");
        QVERIFY(b.text().contains("没有这条借阅记录"));
        QCOMPARE(storedDue(theirs), Dates::toText(today.addDays(25)));
    }

    void fiveWrongPinsLockTheCard()
    {
        Browser b{*site};
        for (int i = 0; i < 5; ++i) {
            b.get("/signin");
            b.post("/signin", "card=1001&pin=000000");
        }
        QVERIFY(b.text().contains("已锁定"));
        Browser other{*site};
        other.address = QHostAddress("192.0.2.2");
        other.get("/signin");
        other.post("/signin", "card=1001&pin=31002X");
        QVERIFY(other.text().contains("已锁定"));
        clock = clock.addSecs(16 * 60);
        other.get("/signin");
        other.post("/signin", "card=1001&pin=31002X");
        QCOMPARE(other.location(), QString("/pin"));
    }

    void anAddressThatKeepsFailingIsSlowed()
    {
        Browser b{*site};
        for (int i = 0; i < Site::addressFailures; ++i) {
            b.get("/signin");
            b.post("/signin", "card=9" + QByteArray::number(i) + "&pin=000000");
        }
        b.get("/signin");
        QCOMPARE(b.post("/signin", "card=1001&pin=31002X").status, 429);
    }

    void theDeskGivesAFirstPinToACardWithoutIdentity()
    {
        Seed::CardRow row;
        row.number = "3001";
        row.identity = "";
        Seed::card(row);
        Browser b{*site};
        b.get("/signin");
        b.post("/signin", "card=3001&pin=000000");
        QVERIFY(b.text().contains("请到借阅处领取"));
        const QString pin = ReaderPins::reset("3001");
        QVERIFY(QRegularExpression("^\\d{6}$").match(pin).hasMatch());
        b.get("/signin");
        b.post("/signin", "card=3001&pin=" + pin.toLatin1());
        QCOMPARE(b.location(), QString("/pin"));
        // A reset of a card with an identity number brings back its first PIN.
        QCOMPARE(ReaderPins::reset("1001"), QString("31002X"));
    }

    void barredCardsCannotSignIn_data()
    {
        QTest::addColumn<QString>("valid");
        QTest::addColumn<QString>("lost");
        QTest::newRow("cancelled") << "N"
                                   << "否";
        QTest::newRow("lost") << "Y"
                              << "是";
    }
    void barredCardsCannotSignIn()
    {
        QFETCH(QString, valid);
        QFETCH(QString, lost);
        Seed::CardRow row;
        row.number = "2001";
        row.valid = valid;
        row.lost = lost;
        Seed::card(row);
        Browser b{*site};
        b.get("/signin");
        b.post("/signin", "card=2001&pin=31002X");
        QVERIFY(b.location().isEmpty());
        QVERIFY(b.text().contains("挂失或注销"));
    }
};

LIBRARY_TEST(SiteTest)
#include "sitetest.moc"
