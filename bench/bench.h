#pragma once

#include <QString>
#include <QVector>
#include <functional>
#include <optional>

// A benchmark prints one line per figure: "NAME: VALUE UNIT", followed where a floor
// exists by "(floor VALUE UNIT, ratio R)". Each file registers its benchmarks.
struct Figure {
    QString name;
    double value = 0;
    QString unit;
    std::optional<double> floor; // the same work on the bare store, same unit
};

namespace Bench {
using Run = std::function<void(const std::function<void(const Figure&)>& report)>;
void add(const QString& name, Run run);
// A fresh scratch program folder (delivered database open) for a benchmark.
QString freshHome();
double seconds(const std::function<void()>& work);
long peakRssKiB();
// The median of timings taken in seconds, in milliseconds.
double medianMs(QVector<double> seconds);
} // namespace Bench

// The run may be a lambda with commas of its own.
#define LIBRARY_BENCH(name, ...)                                                                   \
    static const bool bench_registered_##name = (Bench::add(#name, __VA_ARGS__), true);
