// library-opac: the readers' web catalogue of a library folder.
#include "data/database.h"
#include "data/paths.h"
#include "data/session.h"
#include "opac/catalogue.h"
#include "opac/opaclog.h"
#include "opac/server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

namespace {
void quitOnSignal(int)
{
    QCoreApplication::quit();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("library-opac");
    QCommandLineParser parser;
    parser.setApplicationDescription("图书馆书目检索：读者的网上书目与借阅");
    parser.addHelpOption();
    parser.addOption({"home", "The library folder (the desk's program folder).", "DIR"});
    parser.addOption({"listen", "Address and port to serve on (default 127.0.0.1:8080).",
                      "ADDR:PORT", "127.0.0.1:8080"});
    parser.process(app);

    if (!parser.isSet("home")) {
        std::fprintf(stderr, "library-opac: --home DIR is required\n");
        return 2;
    }
    const QString home = QDir(parser.value("home")).absolutePath();
    if (!QFileInfo::exists(home + "/dat/library.db")) {
        std::fprintf(stderr, "library-opac: %s holds no library (dat/library.db)\n",
                     qPrintable(home));
        return 2;
    }
    ProgramPaths::setHome(home);
    QHostAddress address;
    quint16 port = 0;
    if (!parseListen(parser.value("listen"), &address, &port)) {
        std::fprintf(stderr, "library-opac: --listen wants ADDR:PORT, not %s\n",
                     qPrintable(parser.value("listen")));
        return 2;
    }
    QString error;
    if (!Database::open(&error)) {
        std::fprintf(stderr, "library-opac: cannot open the library: %s\n", qPrintable(error));
        return 1;
    }
    // Renewals from the web are recorded under this name where the desk records an operator.
    Session::current().name = QString::fromUtf8("网上读者");

    OpacServer server;
    const quint16 bound = server.listen(address, port);
    if (bound == 0) {
        std::fprintf(stderr, "library-opac: cannot listen on %s\n",
                     qPrintable(parser.value("listen")));
        OpacLog::write("could not listen on " + parser.value("listen"));
        return 1;
    }
    OpacLog::write(QString("serving %1 on %2:%3").arg(home, address.toString()).arg(bound));
    std::printf("library-opac: serving on http://%s:%u/\n", qPrintable(address.toString()), bound);
    std::fflush(stdout);
    std::signal(SIGTERM, quitOnSignal);
    std::signal(SIGINT, quitOnSignal);
    const int code = app.exec();
    OpacLog::write("stopped");
    Catalogue::closeConnections();
    Database::close();
    return code;
}
