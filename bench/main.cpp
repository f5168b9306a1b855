#include "bench.h"

#include "data/database.h"
#include "data/paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVector>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {
struct Entry {
    QString name;
    Bench::Run run;
};
QVector<Entry>& entries()
{
    static QVector<Entry> list;
    return list;
}
} // namespace

void Bench::add(const QString& name, Run run)
{
    entries().append({name, std::move(run)});
}

QString Bench::freshHome()
{
    static QTemporaryDir* dir = nullptr;
    delete dir;
    dir = new QTemporaryDir;
    ProgramPaths::setHome(dir->path());
    Database::open();
    return dir->path();
}

double Bench::seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

double Bench::medianMs(QVector<double> seconds)
{
    if (seconds.isEmpty())
        return 0;
    std::sort(seconds.begin(), seconds.end());
    return seconds.at(seconds.size() / 2) * 1000;
}

long Bench::peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList wanted = app.arguments().mid(1);
    for (const Entry& e : entries()) {
        if (!wanted.isEmpty() && !wanted.contains(e.name))
            continue;
        e.run([](const Figure& f) {
            QString line = QString("%1: %2 %3").arg(f.name).arg(f.value, 0, 'g', 4).arg(f.unit);
            if (f.floor)
                line += QString(" (floor %1 %2, ratio %3)")
                            .arg(*f.floor, 0, 'g', 4)
                            .arg(f.unit)
                            .arg(*f.floor > 0 ? f.value / *f.floor : 0.0, 0, 'f', 2);
            std::printf("%s\n", qPrintable(line));
            std::fflush(stdout);
        });
    }
    return 0;
}
