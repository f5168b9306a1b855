#include "bench.h"
#include "biglibrary.h"

#include "data/clock.h"
#include "data/database.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/loans.h"
#include "desk/returns.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>

namespace {
constexpr int titles = 1000000;
constexpr int cards = 100000;
constexpr int seconds = 30;
const QDate today(2026, 12, 11);

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

double figure(const QString& output, const QString& name)
{
    const auto m = QRegularExpression("^" + name + " ([0-9.]+)$", QRegularExpression::MultilineOption)
                       .match(output);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}
} // namespace

// The web catalogue under load: wrk with 50 connections asks for the first page of a
// keyword search for 30 seconds while this process, as a desk, lends and returns.
LIBRARY_BENCH(opac, [](const auto& report) {
    const QString home = Bench::freshHome();
    Clock::setToday(today);
    Session::current().name = "甲";
    report(Figure{"opac_build_library",
                  Bench::seconds([] { BigLibrary::build(cards, titles, 0, today); }), "s",
                  std::nullopt});

    const QString opac = QCoreApplication::applicationDirPath() + "/../library-opac";
    const quint16 port = freePort();
    QProcess server;
    server.start(opac, {"--home", home, "--listen", QString("127.0.0.1:%1").arg(port)});
    if (!server.waitForReadyRead(10000))
        qFatal("library-opac did not start: %s", qPrintable(server.readAllStandardError()));

    QProcess wrk;
    wrk.start("wrk", {"-t2", "-c50", QString("-d%1s").arg(seconds), "--latency", "-s",
                      QString(LIBRARY_SOURCE_DIR) + "/bench/opacsearch.lua",
                      QString("http://127.0.0.1:%1").arg(port)});
    if (!wrk.waitForStarted())
        qFatal("wrk did not start");

    // The desk beside it: lend a free title to a card and take it back, again and again.
    const Returns::FineDesk desk;
    QVector<double> lend, giveBack;
    QDeadlineTimer until(seconds * 1000 - 2000);
    for (int i = 0; !until.hasExpired(); ++i) {
        const QString card = BigLibrary::cardNumber(i % cards);
        const QString barcode = QString("T%1").arg(titles - (i % 100000));
        qint64 loan = 0;
        lend << Bench::seconds([&] {
            Transaction t;
            loan = Loans::lend(card, barcode).id;
            t.commit();
        });
        giveBack << Bench::seconds([&] {
            Transaction t;
            Returns::giveBack({loan, card, "N"}, desk);
            t.commit();
        });
    }
    wrk.waitForFinished(seconds * 1000 + 30000);
    const QString output = QString::fromUtf8(wrk.readAllStandardOutput());
    server.terminate();
    server.waitForFinished(5000);

    report(Figure{"opac_search_p95_50_clients", figure(output, "p95_ms"), "ms", std::nullopt});
    report(Figure{"opac_search_p50_50_clients", figure(output, "p50_ms"), "ms", std::nullopt});
    report(Figure{"opac_search_requests_per_s", figure(output, "requests") / seconds, "/s",
                  std::nullopt});
    report(Figure{"opac_search_errors", figure(output, "errors"), "", std::nullopt});
    report(Figure{"opac_desk_lend_median_during_load", Bench::medianMs(lend), "ms", std::nullopt});
    report(Figure{"opac_desk_return_median_during_load", Bench::medianMs(giveBack), "ms",
                  std::nullopt});
    report(Figure{"opac_desk_loans_during_load", double(lend.size()), "", std::nullopt});
});
