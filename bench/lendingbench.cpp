#include "bench.h"
#include "biglibrary.h"

#include "circulation/dzjycx.h"
#include "circulation/yqwhs.h"
#include "data/clock.h"
#include "data/database.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/loanqueries.h"
#include "desk/loans.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

namespace {
constexpr int cards = 100000;
constexpr int titles = 1000000;
constexpr int closedLoans = 5000000;
constexpr int samples = 1000;
const QDate today(2026, 12, 9);

// The barcode of a title no card holds yet: the open loans use T1…T200000.
QString freeTitle(int i)
{
    return QString("T%1").arg(2 * cards + 1 + i * 7);
}

// The same look-ups on the bare store: the card by number, the book by barcode, the loan
// written with its two counters.
void bareCardEntry(const QString& card)
{
    QSqlQuery q(Database::connection());
    q.prepare("select * from cardk where sfyx='Y' and kno like ? limit 2");
    q.addBindValue(card + "%");
    q.exec();
    while (q.next()) {
    }
    q.prepare("select count(*) from dzjsmxk where kno=? and hsjsr is null");
    q.addBindValue(card);
    q.exec();
    q.next();
}

void bareBookEntry(const QString& barcode)
{
    QSqlQuery q(Database::connection());
    q.prepare("select txm,tsmc,tsjg,bs,jcs from tszk where txm like ? limit 2");
    q.addBindValue(barcode + "%");
    q.exec();
    while (q.next()) {
    }
}

void bareSave(const QString& card, const QString& barcode)
{
    QSqlDatabase db = Database::connection();
    db.transaction();
    QSqlQuery u(db);
    u.prepare("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,xjcs) values(?,?,?,?,?,0)");
    u.addBindValue(card);
    u.addBindValue(barcode);
    u.addBindValue(today.toString(Qt::ISODate));
    u.addBindValue("甲");
    u.addBindValue(today.addDays(30).toString(Qt::ISODate));
    u.exec();
    u.prepare("update cardk set jsbs=jsbs+1 where kno=?");
    u.addBindValue(card);
    u.exec();
    u.prepare("update tszk set jcs=jcs+1 where txm=?");
    u.addBindValue(barcode);
    u.exec();
    db.commit();
}

// The plain statement the title index replaces: barcode prefix or title fragment, a scan.
void scanBookEntry(const QString& text)
{
    QSqlQuery q(Database::connection());
    q.prepare("select txm from tszk where (txm like ?) or (tsmc like ?) limit 2");
    q.addBindValue(text + "%");
    q.addBindValue("%" + text + "%");
    q.exec();
    while (q.next()) {
    }
}

// Until the grid holds its first rows, as the operator sees them.
double firstRows(const std::function<QWidget*()>& open)
{
    QWidget* screen = nullptr;
    const double s = Bench::seconds([&] {
        screen = open();
        auto* grid = screen->findChild<QTableView*>("DBGrid1");
        if (grid->model()->rowCount() == 0)
            qFatal("the screen shows no rows");
    });
    delete screen;
    return s;
}
} // namespace

LIBRARY_BENCH(lending, [](const auto& report) {
    Bench::freshHome();
    Clock::setToday(today);
    Session::current().name = "甲";
    report(Figure{"lending_build_library",
                  Bench::seconds([] { BigLibrary::build(cards, titles, closedLoans, today); }), "s",
                  std::nullopt});

    QVector<double> cardEntry, bookEntry, save, bareCard, bareBook, bareWrite, fragment, scan;
    QVector<double> pairMissing, pairCommon, pairScan;
    // Two characters, as Chinese titles are mostly searched: pairs no title holds, and
    // pairs a tenth of the titles hold ("名1" … "名9").
    const QStringList missingPairs{"数学", "历史", "物理", "化学", "地理", "语文", "英语", "政治"};
    for (int i = 0; i < samples; ++i) {
        const QString card = BigLibrary::cardNumber((i * 37) % cards);
        const QString barcode = freeTitle(i);
        Reader reader;
        cardEntry << Bench::seconds([&] {
            Transaction t;
            const Match match = Loans::findCards(card);
            reader = Loans::acceptCard(match.key);
            Sql list(Loans::openLoans(reader.number).statement);
            list.bindAll(Loans::openLoans(reader.number).values).exec();
            while (list.next()) {
            }
            t.commit();
        });
        bookEntry << Bench::seconds([&] {
            Transaction t;
            const Match match = Loans::findBooks(barcode);
            Loans::acceptBook(reader, match.key, Loans::Route::Typed);
            t.commit();
        });
        save << Bench::seconds([&] {
            Transaction t;
            Loans::lend(reader.number, barcode);
            t.commit();
        });
        bareCard << Bench::seconds([&] { bareCardEntry(card); });
        bareBook << Bench::seconds([&] { bareBookEntry(freeTitle(samples + i)); });
        bareWrite << Bench::seconds([&] { bareSave(card, freeTitle(samples + i)); });
        // A title fragment typed instead of a barcode.
        const QString words = QString("名%1").arg(400000 + i * 13);
        fragment << Bench::seconds([&] {
            try {
                Loans::findBooks(words);
            } catch (...) {
            }
        });
        if (i < 20)
            scan << Bench::seconds([&] { scanBookEntry(words); });
        const QString missing = missingPairs.at(i % missingPairs.size());
        pairMissing << Bench::seconds([&] {
            try {
                Loans::findBooks(missing);
            } catch (...) {
            }
        });
        const QString common = QString("名%1").arg(1 + i % 9);
        pairCommon << Bench::seconds([&] {
            if (Loans::findBooks(common).kind != Match::Several)
                qFatal("a common pair found no titles");
        });
        if (i < 20)
            pairScan << Bench::seconds([&] { scanBookEntry(missing); });
    }
    report(Figure{"lending_card_entry_median", Bench::medianMs(cardEntry), "ms",
                  Bench::medianMs(bareCard)});
    report(Figure{"lending_book_entry_median", Bench::medianMs(bookEntry), "ms",
                  Bench::medianMs(bareBook)});
    report(Figure{"lending_save_median", Bench::medianMs(save), "ms", Bench::medianMs(bareWrite)});
    report(Figure{"lending_title_fragment_median", Bench::medianMs(fragment), "ms", std::nullopt});
    report(
        Figure{"lending_title_fragment_by_scan_median", Bench::medianMs(scan), "ms", std::nullopt});
    report(Figure{"lending_two_character_fragment_median", Bench::medianMs(pairMissing), "ms",
                  Bench::medianMs(pairScan)});
    report(Figure{"lending_two_character_common_fragment_median", Bench::medianMs(pairCommon), "ms",
                  std::nullopt});

    // The loan query's first rows, all loans; the overdue list of every card.
    QVector<double> loanQuery, overdue, overdueFloor;
    for (int i = 0; i < 5; ++i) {
        loanQuery << firstRows([] { return new Tdzjycxfm; });
        overdue << firstRows([] {
            auto* screen = new TFormyqwhs;
            screen->findChild<QPushButton*>("BitBtn1")->click();
            return screen;
        });
        overdueFloor << Bench::seconds([] {
            QSqlQuery q(Database::connection());
            q.exec("select count(*) from dzjsmxk where hsjsr is null and hsrq<'2026-12-09'");
            q.next();
        });
    }
    report(Figure{"loan_query_first_rows_median", Bench::medianMs(loanQuery), "ms", std::nullopt});
    report(Figure{"overdue_query_first_rows_median", Bench::medianMs(overdue), "ms",
                  Bench::medianMs(overdueFloor)});
    Clock::setToday(QDate());
})
