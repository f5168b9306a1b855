#include "data/database.h"
#include "data/sql.h"
#include "desk/cancellation.h"
#include "desk/cardissue.h"
#include "desk/cardsequence.h"
#include "desk/catalogue.h"
#include "desk/classification.h"
#include "desk/disposal.h"
#include "desk/initialisation.h"
#include "desk/loans.h"
#include "desk/lostcards.h"
#include "desk/operators.h"
#include "desk/periodicals.h"
#include "desk/photos.h"
#include "desk/readingroom.h"
#include "desk/returns.h"
#include "desk/rights.h"
#include "desk/rooms.h"
#include "desk/topups.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QCryptographicHash>
#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <functional>

namespace {
// One operator action of several statements: what is in the store before it, and the
// action as its screen runs it inside Action::run.
struct FaultCase {
    const char* name;
    std::function<void()> setup;
    std::function<void()> action;
};

void seedGrade()
{
    Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw,yqfkje,yxxjcs,yxts) "
             "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k)",
             {"A", "借阅证", 5.0, 100.0, 30, 5, 50.0, "日", 0.5, 2, 365});
}

void seedSequence()
{
    Sql::run("insert into jszxh values(:a,:b)", {"20260001", "借阅证"});
}

CardApplication application()
{
    CardApplication a;
    a.number = "20260001";
    a.cardType = "借阅证";
    a.grade = "A";
    a.name = "李明";
    a.identity = "11010119900101123X";
    a.deposit = "50";
    a.telephone = "13800000000";
    a.address = "北京路1号";
    a.workUnit = "第一中学";
    a.validUntil = "2027-12-09";
    a.topUp = "20";
    return a;
}

// The grade screen's Save: the grade row, then its rule boxes.
void saveGrade(bool existing)
{
    const QVariantList row{"B", "借阅证", 2.0, 80.0, 20, 3, 30.0, "日"};
    if (existing)
        Sql::run("update jykdjk set kdj=:tj0,km=:tj1,gbf=:tj2,yjje=:tj3,jyqx=:tj4,yjsbs=:tj5,"
                 "jsyj=:tj6,jyqxdw=:tj7 where rowid=:rid",
                 row + QVariantList{Sql::scalar("select rowid from jykdjk where kdj='A'")});
    else
        Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw) "
                 "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6,:tj7)",
                 row);
    Sql("update jykdjk set yqfkje=:tj1,yxxjcs=:tj2,yxts=:tj3 where kdj= :kdj")
        .bind(Money::fromText("0.3"))
        .bind(1)
        .bind(180)
        .bind("B")
        .exec();
}

const Ask yes = [](const QString&, const QString&) { return true; };

// A reader with a valid card under grade A and a book of two copies on the shelf.
void seedReaderAndBook()
{
    Seed::grade();
    Seed::card();
    Seed::book({"B0001", "红楼梦", "曹雪芹", 2});
}

ReadingRoom::Loan readingRoomLoan()
{
    ReadingRoom::Loan loan;
    loan.name = "读者";
    loan.issue = "2026-12";
    loan.date = "2026-12-09";
    loan.type = "杂志";
    loan.card = "1001";
    loan.readerName = "张三";
    loan.publisher = "读者出版社";
    return loan;
}

// The reader's open loan of the book, due `dueIn` days from today.
void seedOpenLoan(int dueIn)
{
    seedReaderAndBook();
    const QDate today = Fixture::today();
    Seed::loan("1001", "B0001", today.addDays(dueIn - 30), today.addDays(dueIn));
    Sql::run("update cardk set jsbs=1");
    Sql::run("update tszk set jcs=1");
}

qint64 lastLoan()
{
    return Sql::scalar("select max(iid) from dzjsmxk").toLongLong();
}

// The fine dialogs confirming what they are offered.
Returns::FineDesk confirmingFines()
{
    Returns::FineDesk desk;
    desk.overdue = [](const Returns::FineOffer& offer) {
        return Fines::confirmOverdue(
            {offer.card, offer.grade, offer.barcode, offer.amount.toShortest()}, yes);
    };
    desk.damage = [](const QString&, const QString&) { Fines::confirmDamage("5"); };
    return desk;
}
// A title as the cataloguing screen sends it, in room 01.
CatalogueEntry catalogueEntry(const QString& barcode, const QString& copies)
{
    CatalogueEntry e;
    e.title = "三国演义";
    e.firstLevel = "I";
    e.barcode = barcode;
    e.searchNumber = "I242.4";
    e.format = "32开";
    e.pages = "512";
    e.price = "25.00";
    e.copies = copies;
    e.room = "01";
    e.state = "图书未出借";
    e.publisher = "中华书局";
    return e;
}

void seedCatalogue()
{
    Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2026-01-01')");
    Seed::book({.barcode = "B0001", .copies = 2, .price = Money::fromText("20")});
}

// An operator OP1 holding one function and its group.
void seedOperator()
{
    Sql::run("insert into userk(loginuser,name,dj) values('OP1','操作员','B')");
    Sql::run("insert into usergrantk(loginuser,funename,funcname) "
             "select 'OP1', funcename, funccname from subfunk where funcename='kpcx'");
    Sql::run("insert into usergrantk(loginuser,funename,funcname) "
             "select 'OP1', ownerename, ownercname from funk where ownerename="
             "(select ownerename from subfunk where funcename='kpcx')");
}

// A group OP1 does not hold, and one function of it.
QString otherGroup()
{
    return Sql::scalar("select ownerename from funk where ownerename<>"
                       "(select ownerename from subfunk where funcename='kpcx') "
                       "order by ownerename limit 1")
        .toString();
}

QString functionOfOtherGroup()
{
    return Sql::scalar("select funcename from subfunk where ownerename=:g order by funcename "
                       "limit 1",
                       {otherGroup()})
        .toString();
}

const ClassPair classPair{"I", "文学", "I2", "中国文学"};

const NewPublisher newPublisher{"北京王府井大街36号", "李四", "010-65252588", "100710", ""};

// Every multi-statement action: a name, what the store holds first, the action.
const QList<FaultCase>& faultCases()
{
    static const QList<FaultCase> cases{
        {"card issue",
         [] {
             seedGrade();
             seedSequence();
         },
         [] { CardIssue::issue(application(), yes); }},
        {"card issue of a number lost before",
         [] {
             seedGrade();
             seedSequence();
             Sql::run("insert into gsb(kno,gsbz) values(:a,:b)", {"20260001", "是"});
         },
         [] { CardIssue::issue(application(), yes); }},
        {"numbering, first time", [] {}, [] { CardSequence::start("20260001", "借阅证"); }},
        {"numbering again", seedSequence, [] { CardSequence::start("30000001", "阅览证"); }},
        {"grade save, new grade", seedGrade, [] { saveGrade(false); }},
        {"grade save, stored grade", seedGrade, [] { saveGrade(true); }},
        {"lending", seedReaderAndBook, [] { Loans::lend("1001", "B0001"); }},
        {"lost-card report", seedReaderAndBook,
         [] { LostCards::change(LostCards::Change::Report, "1001", "11010519491231002X", yes); }},
        {"top-up and extension", seedReaderAndBook,
         [] {
             TopUps::extend({"1001", "1001", "张三", "2028-12-09", "30"}, yes);
         }},
        {"cancellation with a refund", seedReaderAndBook,
         [] { Cancellation::cancel("1001", "50"); }},
        {"reading-room lending",
         [] {
             seedReaderAndBook();
             Sql::run("insert into zzqk(mc,kh,cbrq,lx,cbsmc) values(:a,:b,:c,:d,:e)",
                      {"读者", "2026-12", "2026-12-01", "杂志", "读者出版社"});
         },
         [] { ReadingRoom::lend(readingRoomLoan()); }},
        {"periodical register with a new publisher", [] {},
         [] {
             Periodicals::registerIssue(
                 {"读者", "DZ", "杂志", "12", "2026-12-01", "读者出版社", "重要内容与标志"});
         }},
        {"granting every function", [] {}, [] { Rights::grantAll("TEST"); }},
        {"return", [] { seedOpenLoan(5); },
         [] {
             Returns::giveBack({lastLoan(), "1001", "N"}, confirmingFines());
         }},
        {"overdue damaged return with both fines", [] { seedOpenLoan(-3); },
         [] {
             Returns::giveBack({lastLoan(), "1001", "Y"}, confirmingFines());
         }},
        {"renewal", [] { seedOpenLoan(5); },
         [] { Returns::renew(lastLoan(), yes, confirmingFines()); }},
        {"overdue renewal with its fine", [] { seedOpenLoan(-3); },
         [] { Returns::renew(lastLoan(), yes, confirmingFines()); }},
        {"catalogue save of a new title with a new publisher", seedCatalogue,
         [] { Catalogue::save(catalogueEntry("T0001", "3"), QString(), newPublisher, yes); }},
        {"catalogue save adding copies to a known barcode", seedCatalogue,
         [] { Catalogue::save(catalogueEntry("B0001", "3"), QString(), newPublisher, yes); }},
        {"catalogue correction", seedCatalogue,
         [] { Catalogue::save(catalogueEntry("B0001", "5"), "B0001", std::nullopt, yes); }},
        {"catalogue delete", seedCatalogue, [] { Catalogue::remove("B0001", yes); }},
        {"disposal of some copies by sale", seedCatalogue,
         [] {
             Disposal::dispose({"B0001", "红楼梦", "1", "降价销售", "12.5", "破损"});
         }},
        {"disposal of the last copies", seedCatalogue,
         [] {
             Disposal::dispose({"B0001", "红楼梦", "2", "图书报废", "", ""});
         }},
        {"operator update with a new code", seedOperator,
         [] {
             Operators::update("OP1", {"OP2", "新操作员", "C"});
         }},
        {"operator delete", seedOperator, [] { Operators::remove("OP1", yes); }},
        {"granting a function group", seedOperator,
         [] { Rights::grantGroup("OP1", otherGroup()); }},
        {"granting a function with its group", seedOperator,
         [] { Rights::grantFunction("OP1", functionOfOtherGroup()); }},
        {"classification save", [] {}, [] { Classification::save(classPair); }},
        {"classification delete", [] { Classification::save(classPair); },
         [] {
             Classification::remove(Sql::scalar("select max(iid) from tsflm").toLongLong(), yes);
         }},
        {"room renumbering with its books",
         [] {
             seedCatalogue();
             Sql::run("update tszk set scddbh='01'");
         },
         [] {
             Rooms::save({"02", "一室"}, "01");
         }},
        {"photo store", [] {},
         [] {
             QImage picture(8, 8, QImage::Format_RGB32);
             picture.fill(Qt::white);
             Photos::store(picture);
         }},
        {"initialisation", seedReaderAndBook, [] { Initialisation::clearAll(); }},
    };
    return cases;
}

// Every table's row count and a checksum of all its contents.
QString snapshot()
{
    QStringList tables;
    {
        QSqlQuery list(Database::connection());
        list.exec("select name from sqlite_master where type='table' order by name");
        while (list.next())
            tables << list.value(0).toString();
    }
    QStringList parts;
    for (const QString& table : tables) {
        QSqlQuery rows(Database::connection());
        rows.setForwardOnly(true);
        if (!rows.exec(QString("select * from %1 order by rowid").arg(table)))
            rows.exec(QString("select * from %1").arg(table));
        QCryptographicHash hash(QCryptographicHash::Sha1);
        int count = 0;
        while (rows.next()) {
            ++count;
            for (int i = 0; i < rows.record().count(); ++i) {
                const QVariant v = rows.value(i);
                hash.addData((v.isNull() ? QString("<null>") : v.toString()).toUtf8());
                hash.addData(QByteArrayView("\x1f"));
            }
            hash.addData(QByteArrayView("\x1e"));
        }
        parts << QString("%1:%2:%3").arg(table).arg(count).arg(hash.result().toHex());
    }
    return parts.join(' ');
}
} // namespace

// Each statement of an action in turn, and then its commit, fails as the engine would fail
// it: nothing the action wrote before stays in the store, and the operator is told.
class FaultInjectionTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        Sql::resetFault();
        fixture.reset();
    }

    void everyStatementFailing_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < faultCases().size(); ++i)
            QTest::newRow(faultCases()[i].name) << i;
    }
    void everyStatementFailing()
    {
        QFETCH(int, index);
        const FaultCase& c = faultCases()[index];
        c.setup();
        const QString before = snapshot();
        Messages::takeShown();
        for (int n = 1;; ++n) {
            QVERIFY2(n < 1000, "the action never completed");
            Sql::failAt(n);
            const bool completed = Action::run(nullptr, c.action);
            const bool hit = !Sql::faultPending();
            Sql::resetFault();
            const auto shown = Messages::takeShown();
            if (!hit) {
                // Statement n was never reached: the action ran through.
                QVERIFY2(completed, qPrintable(QString("failed without a fault at %1").arg(n)));
                // Every statement and the commit were failed in turn.
                QVERIFY2(n > 3, "an action of one statement needs no entry here");
                QVERIFY(shown.isEmpty());
                QVERIFY(snapshot() != before);
                break;
            }
            const QString where = QString("statement %1").arg(n);
            QVERIFY2(!completed, qPrintable(where));
            QVERIFY2(snapshot() == before, qPrintable(where + " left something written"));
            QVERIFY2(shown.size() == 1 && shown[0].text.contains("injected failure"),
                     qPrintable(where + " was not shown"));
        }
    }
};

LIBRARY_TEST(FaultInjectionTest)
#include "faultinjectiontest.moc"
