#include "data/dates.h"
#include "data/gbk.h"
#include "data/money.h"
#include "data/pinyin.h"
#include "data/typing.h"
#include "desk/bookstate.h"
#include "testmain.h"

#include <QTest>

class TextTest : public QObject {
    Q_OBJECT

private slots:
    void initialOfCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QChar>("letter");
        QTest::newRow("first of A") << 0xB0A1 << QChar('A');
        QTest::newRow("last of Z") << 0xD7F9 << QChar('Z');
        QTest::newRow("past level 1") << 0xD7FA << QChar(0);
        QTest::newRow("GBK-only code inside X") << 0xD1A0 << QChar('X');
        QTest::newRow("below the table") << 0xB0A0 << QChar(0);
    }
    void initialOfCode()
    {
        QFETCH(int, code);
        QFETCH(QChar, letter);
        QCOMPARE(Pinyin::initialOfCode(static_cast<quint16>(code)), letter);
    }

    void initialLetter()
    {
        QCOMPARE(Pinyin::initialLetter("三国"), QChar('S'));
        QCOMPARE(Pinyin::initialLetter("Abc三国"), QChar(0)); // Latin first character
        QCOMPARE(Pinyin::initialLetter(""), QChar(0));
    }

    void initials_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mnemonic");
        QTest::newRow("title") << "三国演义"
                               << "SGYY";
        QTest::newRow("trimmed") << "  红楼梦 "
                                 << "HLM";
        QTest::newRow("Latin first") << "C语言"
                                     << "";
        QTest::newRow("odd last byte ignored") << "水中a"
                                               << "SZ";
        // 亓 (0xD8C1) is a level-2 character: it ends the mnemonic.
        QTest::newRow("level-2 character ends it") << "西亓东"
                                                   << "X";
        QTest::newRow("empty") << ""
                               << "";
    }
    void initials()
    {
        QFETCH(QString, text);
        QFETCH(QString, mnemonic);
        QCOMPARE(Pinyin::initials(text), mnemonic);
    }

    void gbkWidths()
    {
        QCOMPARE(Gbk::width("李明"), 4);
        QCOMPARE(Gbk::width("ab李"), 4);
        QCOMPARE(Gbk::truncate("一二三四五", 8), QString("一二三四"));
        QCOMPARE(Gbk::truncate("ab一二", 3), QString("ab")); // never half a character
        QCOMPARE(Gbk::truncate("A1-02-03", 6), QString("A1-02-"));
    }

    void fullWidthFormsFold()
    {
        QCOMPARE(Typing::halfWidth("ＡＢｃ１２３－＿！～"), QString("ABc123-_!~"));
        QCOMPARE(Typing::halfWidth("　李明　"), QString(" 李明 "));
        QCOMPARE(Typing::halfWidth("中文，。"), QString("中文,。")); // the ideographic stop stays
    }

    void money_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("fixed2");
        QTest::addColumn<QString>("shortest");
        QTest::newRow("integer") << "30" << true << "30.00"
                                 << "30";
        QTest::newRow("one decimal") << "12.5" << true << "12.50"
                                     << "12.5";
        QTest::newRow("four decimals") << "0.1234" << true << "0.12"
                                       << "0.1234";
        QTest::newRow("rounded to four") << "1.23456" << true << "1.23"
                                         << "1.2346";
        QTest::newRow("negative") << "-2.005" << true << "-2.01"
                                  << "-2.005";
        QTest::newRow("leading dot") << ".5" << true << "0.50"
                                     << "0.5";
        QTest::newRow("spaces") << " 7 " << true << "7.00"
                                << "7";
        QTest::newRow("zero") << "0.00" << true << "0.00"
                              << "0";
        QTest::newRow("text") << "abc" << false << "0.00"
                              << "0";
        QTest::newRow("empty") << "" << false << "0.00"
                               << "0";
        QTest::newRow("largest amount a money column holds")
            << "99999999999.9999" << true << "100000000000.00"
            << "99999999999.9999";
        QTest::newRow("more than a money column holds") << "100000000000" << false << "0.00"
                                                        << "0";
        QTest::newRow("full-width") << "５０" << true << "50.00"
                                    << "50";
        QTest::newRow("full-width decimal") << "－１２．５" << true << "-12.50"
                                            << "-12.5";
    }
    void money()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(QString, fixed2);
        QFETCH(QString, shortest);
        bool ok = false;
        const Money m = Money::fromText(typed, &ok);
        QCOMPARE(ok, valid);
        QCOMPARE(m.toFixed2(), fixed2);
        QCOMPARE(m.toShortest(), shortest);
    }

    void moneyArithmeticIsExact()
    {
        Money sum;
        for (int i = 0; i < 10; ++i)
            sum += Money::fromDouble(0.1);
        QCOMPARE(sum.toShortest(), QString("1"));
        QCOMPARE(Money::fromDouble(0.5) * 3, Money::fromText("1.5"));
    }

    void bookStateWords()
    {
        QCOMPARE(BookState::word("C"), QString("图书已出借"));
        QCOMPARE(BookState::word("W"), QString("图书未出借"));
        QCOMPARE(BookState::word("X"), QString());
        QCOMPARE(BookState::word(""), QString());
    }

    void dates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("iso") << "2008-12-11"
                             << "2008-12-11";
        QTest::newRow("slashes") << "2008/1/5"
                                 << "2008-01-05";
        QTest::newRow("short dashes") << "2008-1-5"
                                      << "2008-01-05";
        QTest::newRow("not a day") << "2008-02-30"
                                   << "";
        QTest::newRow("text") << "明天"
                              << "";
        QTest::newRow("full-width") << "２０２７－０１－０１"
                                    << "2027-01-01";
        QTest::newRow("full-width slashes, ideographic space") << "　２０２７／１／５"
                                                               << "2027-01-05";
    }
    void dates()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(Dates::toText(Dates::parse(typed)), shown);
    }
};

LIBRARY_TEST(TextTest)
#include "texttest.moc"
