#include "bench.h"

#include "data/database.h"
#include "data/paths.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
// A desk program of its own on the library folder, running one command to its end.
QString runDesk(const QStringList& command, int seconds)
{
    QProcess desk;
    desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    desk.start(DESK_WORKER, QStringList{ProgramPaths::home()} + command);
    desk.waitForFinished((seconds + 60) * 1000);
    return QString::fromUtf8(desk.readAllStandardOutput()).trimmed();
}

int number(const QString& text, const QString& key)
{
    const QRegularExpression re(key + QStringLiteral(" (\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}
} // namespace

// N desk programs lend and return at random on a small library (20 titles of one to three
// copies, 30 cards) for a minute (DESK_STRESS_SECONDS to change it); afterwards the library
// must pass integrity_check, its counters must equal its open loans, no title may have more
// out than it has copies, and the ledger must equal the fines taken.
LIBRARY_BENCH(desks, [](const auto& report) {
    const int desks = qEnvironmentVariableIsSet("DESK_STRESS_DESKS")
                          ? qEnvironmentVariableIntValue("DESK_STRESS_DESKS")
                          : 4;
    const int seconds = qEnvironmentVariableIsSet("DESK_STRESS_SECONDS")
                            ? qEnvironmentVariableIntValue("DESK_STRESS_SECONDS")
                            : 60;
    Bench::freshHome();
    Database::close();
    runDesk({"seed", "20", "30"}, 10);
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < desks; ++i) {
        auto desk = std::make_unique<QProcess>();
        desk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk->start(DESK_WORKER, QStringList{ProgramPaths::home(), "stress",
                                             QString::number(seconds), QString::number(7 + i)});
        running.push_back(std::move(desk));
    }
    int operations = 0;
    int written = 0;
    int errors = 0;
    int retried = 0;
    for (auto& desk : running) {
        desk->waitForFinished((seconds + 60) * 1000);
        const QString out = QString::fromUtf8(desk->readAllStandardOutput());
        operations += number(out, "operations");
        written += number(out, "written");
        errors += number(out, "errors");
        retried += number(out, "retried");
    }
    const QString check = runDesk({"check"}, 60);
    std::printf("%s\n", qPrintable(check));
    // No check output at all counts as a violation, not as none.
    const int violations = check.contains("violations") ? number(check, "violations") : -1;
    report(Figure{"desks_processes", double(desks), "desks", {}});
    report(Figure{"desks_operations_per_second", operations / double(seconds), "ops/s", {}});
    report(Figure{"desks_written", double(written), "loans and returns", {}});
    report(Figure{"desks_conflicts_retried", double(retried), "retries", {}});
    report(Figure{"desks_store_errors", double(errors), "errors", {}});
    report(Figure{"desks_violations", double(violations), "violations", {}});
    Database::open();
});
