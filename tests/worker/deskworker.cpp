// A desk in a process of its own on a library folder, driven from the command line: the
// tests and the stress benchmark start several of them on one library.
//
//   library-desk-worker HOME lend CARD BARCODE      lend once; prints "ok" or the refusal
//   library-desk-worker HOME return CARD BARCODE    return the open loan
//   library-desk-worker HOME enter SECONDS          be a desk in the library for a while
//   library-desk-worker HOME ask SECONDS CARD       a top-up whose question stays open
//   library-desk-worker HOME stress SECONDS SEED    lend and return at random
//   library-desk-worker HOME seed TITLES CARDS      a small library to run them on
//   library-desk-worker HOME check                  the library's counters against its loans
// Every line it prints is one result; "ready" says the desk is in.
#include "data/clock.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/desks.h"
#include "desk/fines.h"
#include "desk/loans.h"
#include "desk/refused.h"
#include "desk/returns.h"
#include "desk/topups.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {
void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString refusalOf(const std::function<void()>& work)
{
    try {
        Transaction::run(work);
    } catch (const Refused& refused) {
        return refused.text();
    } catch (const ActionCancelled&) {
        return "cancelled";
    } catch (const StoreError& e) {
        return "store error: " + e.message();
    }
    return "ok";
}

QString lend(const QString& card, const QString& barcode)
{
    return refusalOf([&] { Loans::lend(card, barcode); });
}

// A return takes the overdue fine the desk offers, as an operator answering Yes.
QString giveBack(const QString& card, const QString& barcode)
{
    return refusalOf([&] {
        const QVariant id =
            Sql::scalar("select iid from dzjsmxk where kno=:kno and txm=:txm and (hsjsr=\"\")",
                        {card, barcode});
        if (id.isNull())
            throw Refused::notice("no open loan");
        Returns::FineDesk desk;
        desk.overdue = [](const Returns::FineOffer& offer) {
            return Fines::confirmOverdue(
                {offer.card, offer.grade, offer.barcode, offer.amount.toShortest()},
                [](const QString&, const QString&) { return true; });
        };
        Returns::giveBack({id.toLongLong(), card, "N"}, desk);
    });
}

// Titles of one to three copies and cards that may hold three books for 2 days; a fine of
// 0.5 a day.
void seed(int titles, int cards)
{
    Transaction::run([&] {
        Sql::run("insert into jykdjk(kdj,km,yjsbs,jyqx,jyqxdw,jsyj,yxxjcs,yqfkje) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h)",
                 {"A", "借阅证", 3, 2, "日", 0, 1, 0.5});
        for (int i = 0; i < cards; ++i)
            Sql::run("insert into cardk(kno,kdj,km,dzm,yxrq,sfyx) values(:a,:b,:c,:d,:e,:f)",
                     {QString("C%1").arg(i, 3, 10, QChar('0')), "A", "借阅证",
                      QString("读者%1").arg(i), "2030-12-31", "Y"});
        for (int i = 0; i < titles; ++i)
            Sql::run("insert into tszk(txm,tsmc,tsjg,bs,jcs,tszt) values(:a,:b,:c,:d,:e,:f)",
                     {QString("B%1").arg(i, 3, 10, QChar('0')), QString("书%1").arg(i), 10,
                      1 + i % 3, 0, "W"});
    });
}

// Prints each violation and then "violations N".
int check()
{
    QStringList violations;
    const auto expectNone = [&](const QString& what, const QString& statement) {
        Sql q(statement);
        q.exec();
        while (q.next())
            violations << what + ": " + q.value(0).toString();
    };
    if (Sql::scalar("pragma integrity_check").toString() != "ok")
        violations << "integrity_check";
    expectNone("jcs differs from the open loans",
               "select txm from tszk where coalesce(jcs,0) <> (select count(*) from dzjsmxk "
               "where dzjsmxk.txm=tszk.txm and hsjsr is null)");
    expectNone("jcs above bs", "select txm from tszk where coalesce(jcs,0) > coalesce(bs,0)");
    expectNone("jsbs differs from the open loans",
               "select kno from cardk where coalesce(jsbs,0) <> (select count(*) from dzjsmxk "
               "where dzjsmxk.kno=cardk.kno and hsjsr is null)");
    expectNone("more open loans than the grade allows",
               "select kno from cardk where (select count(*) from dzjsmxk where "
               "dzjsmxk.kno=cardk.kno and hsjsr is null) > 3");
    expectNone(
        "a day fined twice",
        "select kno||' '||txm||' '||rq from dzyqfkmxk group by kno,txm,rq having count(*)>1");
    const double booked = Sql::scalar("select coalesce(sum(srje),0) from cwk").toDouble();
    const double fined = Sql::scalar("select coalesce(sum(je),0) from dzyqfkmxk").toDouble();
    if (qAbs(booked - fined) > 0.001)
        violations << QString("ledger %1 against fines %2").arg(booked).arg(fined);
    for (const QString& v : violations)
        say(v);
    say(QString("loans %1 open %2 fines %3 violations %4")
            .arg(Sql::scalar("select count(*) from dzjsmxk").toInt())
            .arg(Sql::scalar("select count(*) from dzjsmxk where hsjsr is null").toInt())
            .arg(fined)
            .arg(violations.size()));
    return violations.isEmpty() ? 0 : 1;
}

int stress(int seconds, quint32 seed)
{
    QRandomGenerator random(seed);
    const QStringList cards = [] {
        QStringList list;
        Sql q("select kno from cardk order by kno");
        q.exec();
        while (q.next())
            list << q.text("kno");
        return list;
    }();
    const QStringList books = [] {
        QStringList list;
        Sql q("select txm from tszk order by txm");
        q.exec();
        while (q.next())
            list << q.text("txm");
        return list;
    }();
    int operations = 0;
    int done = 0;
    int errors = 0;
    QElapsedTimer timer;
    timer.start();
    const QDate first = Clock::today();
    while (timer.elapsed() < seconds * 1000) {
        // The desks' days move on, so that some returns are overdue and fined.
        Clock::setToday(first.addDays(operations / 40));
        const QString card = cards.at(int(random.bounded(cards.size())));
        QString outcome;
        if (random.bounded(2) == 0) {
            outcome = lend(card, books.at(int(random.bounded(books.size()))));
        } else {
            // One of the card's books, as the reader hands it over (another desk may take
            // the same book back at the same moment).
            const QString book = Sql::scalar("select txm from dzjsmxk where kno=:kno and "
                                             "(hsjsr=\"\") order by random() limit 1",
                                             {card})
                                     .toString();
            outcome = book.isEmpty() ? QString("nothing to return") : giveBack(card, book);
        }
        ++operations;
        if (outcome == "ok")
            ++done;
        else if (outcome.startsWith("store error")) {
            ++errors;
            say(outcome);
        }
    }
    say(QString("operations %1 written %2 errors %3 retried %4 seconds %5")
            .arg(operations)
            .arg(done)
            .arg(errors)
            .arg(Transaction::retriedConflicts())
            .arg(timer.elapsed() / 1000.0));
    return errors == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    ProgramPaths::setHome(args.at(1));
    QString reason;
    if (!Database::open(&reason)) {
        say("cannot open: " + reason);
        return 2;
    }
    OperatorSession& session = Session::current();
    session.loginCode = "DESK";
    session.name = QString("柜台%1").arg(QCoreApplication::applicationPid());
    Clock::setToday(QDate(2026, 12, 9));
    const QString command = args.at(2);
    const QString a = args.value(3);
    const QString b = args.value(4);
    if (command == "lend") {
        say(lend(a, b));
    } else if (command == "return") {
        say(giveBack(a, b));
    } else if (command == "enter") {
        Desks::enter(session.name);
        say("ready");
        QThread::msleep(static_cast<unsigned long>(a.toInt() * 1000));
        Desks::leave();
    } else if (command == "ask") {
        // A top-up of nothing on card B: the operator leaves "is that right?" open for a
        // while (the message box ends the action's reads before it shows, as here).
        const int seconds = a.toInt();
        say(refusalOf([&] {
            Sql::scalar("select dzm from cardk where kno=:kno", {b});
            TopUps::extend({b, b, "读者", "2031-12-31", "0"},
                           [seconds](const QString&, const QString&) {
                               Transaction::beforeWaitingForPerson("question");
                               say("ready");
                               QThread::msleep(static_cast<unsigned long>(seconds * 1000));
                               return true;
                           });
        }));
    } else if (command == "seed") {
        seed(a.toInt(), b.toInt());
    } else if (command == "check") {
        return check();
    } else if (command == "stress") {
        return stress(a.toInt(), b.toUInt());
    } else {
        return 2;
    }
    Database::close();
    return 0;
}
