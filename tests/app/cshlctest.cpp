#include "app/cshlc.h"
#include "app/appcommands.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The setup flow: six buttons, each reaching its screen, the operator ones by grade.
class CshlcTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QStringList opened; // keys of the commands the screen asked for

    void recordCommand(const QString& key)
    {
        Commands::add(
            key, [this, key](QWidget*) { opened << key; }, 0, false);
    }
    static void click(TFormcshlc& screen, const char* name)
    {
        screen.findChild<QPushButton*>(name)->click();
    }
    // Clicks the button and reports the class of the modal dialog it runs.
    static QString modalOpenedBy(TFormcshlc& screen, const char* name)
    {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                shown = dialog->metaObject()->className();
                dialog->reject();
            }
        });
        click(screen, name);
        return shown;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        opened.clear();
    }
    void cleanup()
    {
        Commands::clear();
        fixture.reset();
    }

    void twoColumnsOfThreeButtons()
    {
        TFormcshlc screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QString("系统流程设置"));
        QCOMPARE(screen.minimumSize(), screen.maximumSize()); // fixed size
        const QList<QStringList> columns = {{"借阅室管理", "图书分类设置", "借阅证起始号码"},
                                            {"借书等级设置", "操作员管理", "操作员权限管理"}};
        const auto buttons = screen.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 6);
        for (int c = 0; c < 2; ++c) {
            for (int r = 0; r < 3; ++r) {
                QPushButton* b = nullptr;
                for (QPushButton* candidate : buttons)
                    if (candidate->text() == columns[c][r])
                        b = candidate;
                QVERIFY2(b, qPrintable(columns[c][r]));
                QCOMPARE(b->x() > screen.width() / 2, c == 1);
                QCOMPARE(b->y() * 3 / screen.height(), r);
            }
        }
    }

    void gradesAndNumberingOpenModally()
    {
        TFormcshlc screen;
        screen.show();
        QCOMPARE(modalOpenedBy(screen, "grades"), QString("Tkpszfm"));
        QCOMPARE(modalOpenedBy(screen, "numbering"), QString("Tbhcshfm"));
    }

    void operatorButtonsFollowTheGrade_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("administrator") << "A" << QStringList{"ydjhcx", "N13"};
        QTest::newRow("lower-case administrator") << "a" << QStringList{"ydjhcx", "N13"};
        // Operator management offers a non-administrator the password change.
        QTest::newRow("grade B") << "B" << QStringList{"ydjhcx", "ydjhcx"};
    }
    void operatorButtonsFollowTheGrade()
    {
        QFETCH(QString, grade);
        QFETCH(QStringList, expected);
        fixture->loginAs("OP", "操作员", grade);
        recordCommand("ydjhcx");
        recordCommand("N13");
        TFormcshlc screen;
        click(screen, "operators");
        click(screen, "rights");
        QCOMPARE(opened, expected);
    }

    void laterScreensOpenThroughTheirCommands()
    {
        TFormcshlc screen;
        click(screen, "rooms");
        click(screen, "classification");
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.first().text, QString("该功能尚未安装。"));

        recordCommand("Ttssglfm");
        recordCommand("TFormtsflsz");
        click(screen, "rooms");
        click(screen, "classification");
        QCOMPARE(opened, (QStringList{"Ttssglfm", "TFormtsflsz"}));
        QCOMPARE(Messages::takeShown().size(), 0);
    }

    void setupCommandShowsOneScreen()
    {
        Commands::add(AppCommands::table());
        QVERIFY(Commands::open("jhzd", nullptr));
        QVERIFY(Commands::open("jhzd", nullptr));
        QWidget* open = Windows::findOpen("TFormcshlc");
        QVERIFY(open);
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            count += w->inherits("TFormcshlc") && w->isVisible();
        QCOMPARE(count, 1);
        open->close();
    }
};

LIBRARY_TEST(CshlcTest)
#include "cshlctest.moc"
