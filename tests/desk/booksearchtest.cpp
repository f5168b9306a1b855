#include "desk/booksearch.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// The desk's book information query: exact matches, bound conditions, known rooms only.
class BookSearchTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList found(const BookSearchConditions& c)
    {
        const BookSearchStatement s = BookSearch::statement(c);
        Sql q(s.text + " order by tszk.txm");
        q.bindAll(s.values).exec();
        QStringList barcodes;
        while (q.next())
            barcodes << q.text("txm") + "@" + q.text("tssmc");
        return barcodes;
    }
    static BookSearchConditions chinese()
    {
        BookSearchConditions c;
        c.language = "中文";
        return c;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into tssxxk(tssbh,tssmc) values('01','一室')");
        Sql::run("insert into tssxxk(tssbh,tssmc) values('02','二室')");
        const QList<QStringList> books{
            // txm, tsmc, zz, yz, scddbh, cbsj
            {"A1", "三国演义", "罗贯中", "中文", "01", "2001-05-01"},
            {"A10", "三国演义(下)", "罗贯中", "中文", "02", "2001-05-01"},
            {"B1", "Hamlet", "Shakespeare", "西文", "01", ""},
            {"C1", "红楼梦", "曹雪芹", "中文", "09", ""}, // a room that does not exist
        };
        for (const QStringList& b : books)
            Sql::run("insert into tszk(txm,tsmc,zz,yz,scddbh,cbsj,xlm,cbsmc,flmc) "
                     "values(:a,:b,:c,:d,:e,:f,'名著','人民','文化')",
                     {b[0], b[1], b[2], b[3], b[4], b[5]});
    }
    void cleanup() { fixture.reset(); }

    void conditions_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        QTest::newRow("language only") << ""
                                       << "" << QStringList({"A1@一室", "A10@二室"});
        QTest::newRow("whole barcode") << "txm"
                                       << "A1" << QStringList{"A1@一室"};
        QTest::newRow("part of a barcode") << "txm"
                                           << "A" << none;
        QTest::newRow("whole title") << "tsmc"
                                     << "三国演义" << QStringList{"A1@一室"};
        QTest::newRow("part of a title") << "tsmc"
                                         << "三国" << none;
        QTest::newRow("room by name") << "room"
                                      << "二室" << QStringList{"A10@二室"};
        QTest::newRow("room by number") << "room"
                                        << "01" << QStringList{"A1@一室"};
        QTest::newRow("author") << "zz"
                                << "罗贯中" << QStringList({"A1@一室", "A10@二室"});
        QTest::newRow("date") << "cbsj"
                              << "2001-05-01" << QStringList({"A1@一室", "A10@二室"});
        QTest::newRow("unknown room") << "room"
                                      << "09" << none;
        for (const char* field : {"txm", "room", "zz", "xlm", "tsmc", "cbsmc", "flmc"})
            QTest::newRow(qPrintable(QString("quote in ") + field)) << field << "三'" << none;
    }
    void conditions()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        BookSearchConditions c = chinese();
        if (field == "txm")
            c.barcode = value;
        else if (field == "tsmc")
            c.title = value;
        else if (field == "room")
            c.room = value;
        else if (field == "zz")
            c.author = value;
        else if (field == "xlm")
            c.series = value;
        else if (field == "cbsmc")
            c.publisher = value;
        else if (field == "flmc")
            c.className = value;
        else if (field == "cbsj")
            c.published = QDate::fromString(value, Qt::ISODate);
        QCOMPARE(found(c), expected);
    }

    void withoutLanguageEveryBookOfAKnownRoom()
    {
        QCOMPARE(found(BookSearchConditions()), QStringList({"A1@一室", "A10@二室", "B1@一室"}));
        BookSearchConditions c;
        c.language = "中文'";
        QCOMPARE(found(c), QStringList());
    }
};

LIBRARY_TEST(BookSearchTest)
#include "booksearchtest.moc"
