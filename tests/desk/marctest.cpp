#include "desk/marc.h"
#include "desk/isbn.h"
#include "desk/z3950.h"
#include "testmain.h"

#include <QStringEncoder>
#include <QTest>

namespace {
// An ISO 2709 record built the way catalogues send them: leader, directory, fields.
// Each field is "tag" + "indicators + $a...$b..." written with '$' for the subfield mark.
QByteArray iso2709(const QList<QPair<QString, QString>>& fields, bool gbk)
{
    QStringEncoder encoder(gbk ? "GBK" : "UTF-8");
    QByteArray directory;
    QByteArray data;
    for (const auto& [tag, content] : fields) {
        QByteArray body = encoder.encode(content);
        body.replace('$', '\x1f');
        body.append('\x1e');
        directory += tag.toLatin1() + QByteArray::number(body.size()).rightJustified(4, '0') +
                     QByteArray::number(data.size()).rightJustified(5, '0');
        data += body;
    }
    directory.append('\x1e');
    const int base = 24 + static_cast<int>(directory.size());
    const int length = base + static_cast<int>(data.size()) + 1;
    QByteArray leader = QByteArray::number(length).rightJustified(5, '0') + "nam  22" +
                        QByteArray::number(base).rightJustified(5, '0') + "   450 ";
    return leader + directory + data + '\x1d';
}
} // namespace

// Records fetched from union catalogues become the cataloguing screen's values.
class MarcTest : public QObject {
    Q_OBJECT

private slots:
    void cnmarcInGbk()
    {
        const QByteArray record = iso2709({{"001", "012345"},
                                           {"010", "  $a7-02-000220-X$dCNY25.00"},
                                           {"200", "1 $a红楼梦$f曹雪芹著"},
                                           {"205", "  $a第3版"},
                                           {"210", "  $a北京$c人民文学出版社$d2008.5"},
                                           {"215", "  $a1606页$d21cm"},
                                           {"690", "  $aI242.4$v4"}},
                                          true);
        const auto r = Marc::read(record, "GBK");
        QVERIFY(r);
        QCOMPARE(r->title, QString("红楼梦"));
        QCOMPARE(r->author, QString("曹雪芹著"));
        QCOMPARE(r->publisher, QString("人民文学出版社"));
        QCOMPARE(r->place, QString("北京"));
        QCOMPARE(r->edition, QString("第3版"));
        QCOMPARE(r->publicationDate(), QString("2008-05-01"));
        QCOMPARE(r->isbn, QString("7-02-000220-X"));
        QVERIFY(r->price);
        QCOMPARE(r->price->toShortest(), QString("25"));
        QCOMPARE(r->pages, 1606);
        QCOMPARE(r->classNumber, QString("I242.4"));
    }

    void marc21InUtf8()
    {
        const QByteArray record =
            iso2709({{"020", "  $a9780262033848 (hardcover : alk. paper)$cUSD95.00"},
                     {"082", "00$a005.1$222"},
                     {"100", "1 $aCormen, Thomas H."},
                     {"245", "10$aIntroduction to algorithms /$cThomas H. Cormen ... [et al.]."},
                     {"250", "  $a3rd ed."},
                     {"260", "  $aCambridge, Mass. :$bMIT Press,$cc2009."},
                     {"300", "  $axix, 1292 p. :$bill. ;$c24 cm."}},
                    false);
        const auto r = Marc::read(record, "UTF-8");
        QVERIFY(r);
        QCOMPARE(r->title, QString("Introduction to algorithms"));
        QCOMPARE(r->author, QString("Cormen, Thomas H"));
        QCOMPARE(r->publisher, QString("MIT Press"));
        QCOMPARE(r->place, QString("Cambridge, Mass"));
        QCOMPARE(r->publicationDate(), QString("2009-01-01"));
        QCOMPARE(r->isbn, QString("9780262033848"));
        QVERIFY(r->price);
        QCOMPARE(r->price->toShortest(), QString("95"));
        QCOMPARE(r->pages, 1292);
        QCOMPARE(r->classNumber, QString("005.1"));
    }

    void missingFieldsStayEmpty()
    {
        const auto r = Marc::read(iso2709({{"200", "1 $a无名书"}}, false), "UTF-8");
        QVERIFY(r);
        QCOMPARE(r->title, QString("无名书"));
        QVERIFY(r->author.isEmpty() && r->publisher.isEmpty() && r->isbn.isEmpty());
        QVERIFY(!r->price);
        QCOMPARE(r->pages, 0);
        QCOMPARE(r->publicationDate(), QString());
        QVERIFY(!Marc::read("not a record", "UTF-8"));
    }

    void prices_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount");
        QTest::newRow("currency code") << "CNY25.00"
                                       << "25";
        QTest::newRow("yuan sign") << "￥18.50元"
                                   << "18.5";
        QTest::newRow("none") << "定价不详"
                              << "";
    }
    void prices()
    {
        QFETCH(QString, text);
        QFETCH(QString, amount);
        const auto price = Marc::priceOf(text);
        QCOMPARE(price ? price->toShortest() : QString(), amount);
    }

    void isbnForms_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("forms");
        QTest::newRow("ISBN-10 with hyphens")
            << "7-02-000220-X" << QStringList{"9787020002207", "702000220X"};
        QTest::newRow("ISBN-13 with spaces")
            << "978 7 02 000220 7" << QStringList{"9787020002207", "702000220X"};
        QTest::newRow("979 has no ISBN-10") << "979-10-90636-07-1" << QStringList{"9791090636071"};
        QTest::newRow("wrong check digit") << "7-02-000220-1" << QStringList{};
        QTest::newRow("not an ISBN") << "红楼梦" << QStringList{};
    }
    void isbnForms()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, forms);
        QCOMPARE(Isbn::searchForms(typed), forms);
    }

    void queriesQuoteTheTypedText()
    {
        QCOMPARE((Z3950Query{Z3950Query::Field::Title, "红楼\"梦"}).pqf(),
                 QString("@attr 1=4 \"红楼\\\"梦\""));
        QCOMPARE((Z3950Query{Z3950Query::Field::Isbn, "7-02-000220-X"}).pqf(),
                 QString("@or @attr 1=7 \"9787020002207\" @attr 1=7 \"702000220X\""));
        QCOMPARE((Z3950Query{Z3950Query::Field::Isbn, "123"}).pqf(), QString());
    }
};

LIBRARY_TEST(MarcTest)
#include "marctest.moc"
