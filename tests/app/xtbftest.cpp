#include "app/xtbf.h"
#include "app/cshlc.h"
#include "app/xtcsh.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// Backup, restore and initialisation as the operator runs them: the messages, the
// folders and what ends up in the data.
class XtbfTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<TFormxtbf> screen;

    void open()
    {
        screen = std::make_unique<TFormxtbf>();
        screen->show();
    }
    QLineEdit* box(const char* name) { return screen->findChild<QLineEdit*>(name); }
    void click(const char* name) { screen->findChild<QAbstractButton*>(name)->click(); }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown()) {
            const char* icon = s.icon == Messages::Icon::Critical      ? "(x)"
                               : s.icon == Messages::Icon::Information ? "(i)"
                                                                       : "";
            texts << s.caption + ":" + s.text.section('\n', 0, 0) + icon;
        }
        return texts;
    }
    static int readers() { return Fixture::count("select count(*) from cardk"); }
    static void addReader(const QString& number)
    {
        Sql::run("insert into cardk(kno,kdj,dzm) values(:a,'A','王五')", {number});
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        screen.reset();
        Windows::setFrameArea(nullptr);
        fixture.reset();
    }

    void backupToTheDefaultFolderAndCloses()
    {
        addReader("001");
        open();
        QCOMPARE(screen->windowTitle(), QString("系统备份与恢复"));
        QVERIFY(screen->findChild<QRadioButton*>("RadioButton1")->isChecked());
        QCOMPARE(box("Edit1")->text(), QDir::toNativeSeparators(fixture->path("backup")));
        QVERIFY(!box("Edit1")->isEnabled() && !box("Edit2")->isEnabled());
        QVERIFY(!screen->findChild<QPushButton*>("BitBtn5")->isVisible());
        click("BitBtn1");
        QCOMPARE(shown(), QStringList{"提示:数据备份成功！(i)"});
        QVERIFY(!screen->isVisible());
        QVERIFY(QFile::exists(fixture->path("backup/library.db")));
    }

    void theChooserRefusesTheDataFolder()
    {
        open();
        click("RadioButton2");
        QVERIFY(box("Edit1")->isEnabled());
        FileDialogs::queueAnswer(ProgramPaths::dataFolder() + "/");
        click("BitBtn4");
        QCOMPARE(shown(), QStringList{"提示:不是系统备份路径，错误的路径!(i)"});
        QCOMPARE(box("Edit1")->text(), QString());
        click("BitBtn1");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:备份路径不能为空！"});

        QDir().mkpath(fixture->path("usb"));
        FileDialogs::queueAnswer(fixture->path("usb"));
        click("BitBtn4");
        QCOMPARE(box("Edit1")->text(), QDir::toNativeSeparators(fixture->path("usb")));
        click("BitBtn1");
        QCOMPARE(shown(), QStringList{"提示:数据备份成功！(i)"});
        QVERIFY(QFile::exists(fixture->path("usb/library.db")));
    }

    void aFailedBackupIsNoSuccess()
    {
        open();
        QDir().mkpath(fixture->path("backup/library.db.partial"));
        click("BitBtn1");
        QCOMPARE(shown(), QStringList{"提示:数据备份失败！(x)"});
        QVERIFY(screen->isVisible());
        QVERIFY(!QFile::exists(fixture->path("backup/library.db")));
    }

    void restoreAsksThenSwapsAndTheScreensKeepWorking()
    {
        addReader("001");
        open();
        click("BitBtn1");
        Messages::takeShown();
        addReader("002");

        QMdiArea area;
        Windows::setFrameArea(&area);
        Windows::showOrActivate<TFormcshlc>();
        QCOMPARE(area.subWindowList().size(), 1);

        open();
        click("rb3");
        QVERIFY(box("Edit2")->isEnabled() && !box("Edit1")->isEnabled());
        click("BitBtn2");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:源数据路径不能为空！"});
        FileDialogs::queueAnswer(fixture->path("backup"));
        click("BitBtn5");
        QCOMPARE(box("Edit2")->text(), QDir::toNativeSeparators(fixture->path("backup")));

        Messages::queueAnswer(false);
        click("BitBtn2");
        QCOMPARE(shown(), QStringList{"提示:此操作将会覆盖现有数据，继续吗?(i)"});
        QCOMPARE(readers(), 2);
        QVERIFY(screen->isVisible());

        Messages::queueAnswer(true);
        click("BitBtn2");
        QCOMPARE(shown(), (QStringList{"提示:此操作将会覆盖现有数据，继续吗?(i)",
                                       "提示:数据成功恢复！(i)"}));
        QVERIFY(!screen->isVisible());
        QCOMPARE(readers(), 1);
        QTRY_COMPARE(area.subWindowList().size(), 0);
        addReader("003");
        QCOMPARE(readers(), 2);
    }

    void restoreRefusesAForeignFile()
    {
        QDir().mkpath(fixture->path("other"));
        QFile text(fixture->path("other/library.db"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a database");
        text.close();
        open();
        click("rb3");
        FileDialogs::queueAnswer(fixture->path("other"));
        click("BitBtn5");
        Messages::queueAnswer(true);
        click("BitBtn2");
        const QStringList texts = shown();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[1], QString("提示:所选的数据不是本系统的备份数据，不能恢复！(i)"));
        QVERIFY(Database::isOpen());
        QCOMPARE(Fixture::count("select count(*) from userk"), 2);
    }

    void initialisationEmptiesAllOrNothing()
    {
        addReader("001");
        TFormxtcsh init;
        init.show();
        click(init, "BitBtn1"); // No
        QCOMPARE(shown(), QStringList{"询问:您确定要清除所有数据吗？"});
        QCOMPARE(readers(), 1);

        Sql::run("drop table kpsxh");
        Messages::queueAnswer(true);
        click(init, "BitBtn1");
        const QStringList failed = shown();
        QCOMPARE(failed.size(), 2);
        QVERIFY(failed[1].startsWith("错误:"));
        QCOMPARE(readers(), 1);

        Sql::run("create table kpsxh (kpsxh text, lx text)");
        Messages::queueAnswer(true);
        click(init, "BitBtn1");
        QCOMPARE(shown(),
                 (QStringList{"询问:您确定要清除所有数据吗？", "图书馆管理系统:系统初始化完成！"}));
        QCOMPARE(readers(), 0);
        QCOMPARE(Fixture::count("select count(*) from userk"), 2);
        QVERIFY(init.isVisible());
    }

private:
    static void click(QWidget& screen, const char* name)
    {
        screen.findChild<QAbstractButton*>(name)->click();
    }
};

LIBRARY_TEST(XtbfTest)
#include "xtbftest.moc"
