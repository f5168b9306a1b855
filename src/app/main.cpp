#include "app/appcommands.h"
#include "app/demolibrary.h"
#include "app/deskapplication.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "data/paths.h"
#include "ui/enterkeys.h"
#include "ui/messages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

int main(int argc, char** argv)
{
    DeskApplication app(argc, argv);
    app.setApplicationName("library-desk");
    app.setApplicationDisplayName(QString::fromUtf8(Messages::applicationTitle));
    app.setQuitOnLastWindowClosed(true);

    QCommandLineParser options;
    options.setApplicationDescription(QString::fromUtf8(Messages::applicationTitle));
    options.addHelpOption();
    QCommandLineOption home("home", "Keep the library's data in DIR instead of the program folder.",
                            "DIR");
    options.addOption(home);
    QCommandLineOption demo("demo", "Make a demo library in the library's folder (one that holds "
                                    "no library yet), then start on it.");
    options.addOption(demo);
    options.process(app);
    if (options.isSet(home))
        ProgramPaths::setHome(options.value(home));
    if (options.isSet(demo) && !DemoLibrary::createFromCommandLine())
        return 1;

    // Qt's own dialogs (preview, file chooser, message buttons) in Chinese.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTranslator;
    if (qtTranslator.load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    Startup::applyTheme();
    EnterKeys::install(&app);
    AppCommands::registerAll();

    Tmainfm window;
    // Fill the screen even where no window manager maximises windows.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    QTimer::singleShot(0, &window, [&window] {
        const Startup::Outcome outcome = Startup::run(&window);
        if (outcome.quit)
            QApplication::exit(0);
    });
    return app.exec();
}
