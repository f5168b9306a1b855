#include "catalogue/dzjs.h"
#include "app/appcommands.h"
#include "data/sql.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The desk's book information query screen: condition and result modes, the exact
// conditions, and the library query report.
class DzjsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tdzjsfm> screen;

    template <typename T> T* box(const char* name) { return screen->findChild<T*>(name); }
    void click(const char* name) { box<QPushButton>(name)->click(); }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        QDir().mkpath(fixture->path("reports"));
        Sql::run("insert into tssxxk(tssbh,tssmc) values('01','一室')");
        Sql::run("insert into tssxxk(tssbh,tssmc) values('02','二室')");
        Sql::run("insert into tszk(txm,tsmc,zz,yz,scddbh,bs,jcs,tszt,tsjg) values"
                 "('A1','三国演义','罗贯中','中文','01',3,1,'W',12.5),"
                 "('A2','水浒传','施耐庵','中文','02',1,1,'C',20),"
                 "('B1','Hamlet','Shakespeare','西文','01',1,0,'W',8),"
                 "('C1','红楼梦','曹雪芹','中文','09',1,0,'W',30)");
        screen = std::make_unique<Tdzjsfm>();
        screen->show();
    }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void queryAtOnceListsChineseBooksOfKnownRoomsAndShowsTheResult()
    {
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("中文"));
        QCOMPARE(box<QComboBox>("ComboBox2")->count(), 2);
        QVERIFY(box<QLineEdit>("Edit1")->hasFocus() || !screen->isActiveWindow());
        click("BitBtn1");
        QCOMPARE(shown().join("|"), QString());
        auto* grid = box<QTableView>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 2);
        QVERIFY(screen->inResultMode());
        QVERIFY(box<QLineEdit>("Edit1")->isHidden());
        QVERIFY(!box<QLineEdit>("Txm")->isHidden());
        // The navigator moves the result boxes along.
        const QString first = box<QLineEdit>("Txm")->text();
        box<QAbstractButton>("next")->click();
        const QString second = box<QLineEdit>("Txm")->text();
        QCOMPARE(QSet<QString>({first, second}), QSet<QString>({"A1", "A2"}));
        QCOMPARE(box<QLineEdit>("tssmc")->text(),
                 second == "A1" ? QString("一室") : QString("二室"));
    }

    void conditionsMatchWholeTextsAndAQuoteFindsNothing()
    {
        box<QLineEdit>("Edit5")->setText("三国");
        click("BitBtn1");
        QCOMPARE(Messages::lastText(), QString("没有查找到所需记录！"));
        QVERIFY(!screen->inResultMode());
        Messages::takeShown();

        for (const char* name : {"Edit1", "Edit3", "Edit4", "Edit5", "Edit6"}) {
            box<QLineEdit>(name)->setText("A'1");
            click("BitBtn1");
            const QList<Messages::Shown> shown = Messages::takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().caption + shown.first().text,
                     QString("提示信息没有查找到所需记录！"));
            box<QLineEdit>(name)->clear();
        }
        box<QComboBox>("ComboBox2")->setEditText("01");
        box<QLineEdit>("Edit5")->setText("三国演义");
        click("BitBtn1");
        QCOMPARE(shown().join("|"), QString());
        QCOMPARE(box<QLineEdit>("Txm")->text(), QString("A1"));
    }

    void aBadDateIsRefused()
    {
        box<QLineEdit>("Edit7")->setText("2001-13-45");
        click("BitBtn1");
        QCOMPARE(Messages::lastText(), QString("日期格式错误!"));
        QVERIFY(!screen->inResultMode());
    }

    void printsOnlyBetweenAQueryWithRowsAndTheNextRequery()
    {
        click("BitBtn3");
        QCOMPARE(ReportOutput::takeRequests().size(), 0);
        click("BitBtn1");
        click("BitBtn3");
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().pages, 1);
        QVERIFY(QFile::exists(requests.first().pdf));
        if (!qEnvironmentVariableIsEmpty("LIBRARYDESK_KEEP_REPORTS"))
            QFile::copy(requests.first().pdf,
                        qEnvironmentVariable("LIBRARYDESK_KEEP_REPORTS") + "/dzjsprint.pdf");

        click("BitBtn2");
        QVERIFY(!screen->inResultMode());
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("中文"));
        click("BitBtn3");
        QCOMPARE(ReportOutput::takeRequests().size(), 0);
    }

    void theCommandOpensOneScreen()
    {
        screen.reset();
        if (!Commands::has("N9"))
            AppCommands::registerAll();
        QVERIFY(Commands::open("N9", nullptr));
        QVERIFY(Commands::open("N9", nullptr));
        QWidget* open = Windows::findOpen("Tdzjsfm");
        QVERIFY(open);
        QCOMPARE(Commands::helpContext("N9"), 22);
        open->close();
        delete open;
    }
};

LIBRARY_TEST(DzjsTest)
#include "dzjstest.moc"
