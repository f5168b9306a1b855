#include "testmain.h"

#include "data/clock.h"
#include "ui/enterkeys.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>
#include <QVector>

namespace {
struct Entry {
    const char* name;
    std::function<std::unique_ptr<QObject>()> factory;
};

QVector<Entry>& entries()
{
    static QVector<Entry> list;
    return list;
}
} // namespace

void TestRegistry::add(const char* name, std::function<std::unique_ptr<QObject>()> factory)
{
    entries().append({name, std::move(factory)});
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::temp().filePath("library-desk-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    QApplication app(argc, argv);
    app.setApplicationName("library-desk-tests");
    EnterKeys::install(&app); // as the program does

    // "-only Name" runs one test class; other arguments go to QTest.
    QString only;
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        if (QString(argv[i]) == "-only" && i + 1 < argc)
            only = argv[++i];
        else
            args << argv[i];
    }
    int failures = 0;
    for (const Entry& entry : entries()) {
        if (!only.isEmpty() && only != entry.name)
            continue;
        auto test = entry.factory();
        failures += QTest::qExec(test.get(), args);
    }
    return failures == 0 ? 0 : 1;
}
