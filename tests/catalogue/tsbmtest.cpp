#include "catalogue/tsbm.h"
#include "app/appcommands.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// The cataloguing screen driven from the keyboard: the Enter chain with its look-ups,
// moving into correction, copy and paste, and what save and delete leave in the store.
class TsbmTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    Ttsbmfm* screen = nullptr;

    void open()
    {
        screen = Driver::openScreen<Ttsbmfm>("tsbm");
        QVERIFY(screen);
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QApplication::processEvents();
    }
    // A dialog the screen opened has closed: the screen is the active window again.
    void reactivate()
    {
        QTest::qWait(20); // the dialog's own deactivation comes first
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    template <typename T = QLineEdit> T* box(const char* name)
    {
        return Driver::box<T>(screen, name);
    }
    QString focused() const
    {
        QWidget* w = QApplication::focusWidget();
        if (w && qobject_cast<QComboBox*>(w->parentWidget()))
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
    int page() { return box<QTabWidget>("PageControl1")->currentIndex(); }
    // Types as the keyboard does (Chinese characters as the input method sends them).
    static void typeText(QWidget* w, const QString& text)
    {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Types into the box that has the focus and presses Enter there, as an operator does.
    void typeEnter(const QString& text = QString())
    {
        QWidget* w = QApplication::focusWidget();
        QVERIFY(w);
        typeText(w, text);
        QTest::keyClick(w, Qt::Key_Return);
        QApplication::processEvents();
    }
    void clearFocused()
    {
        QWidget* w = QApplication::focusWidget();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
    }
    static QStringList ledger()
    {
        QStringList rows;
        Sql q("select zcje,szyy from cwk order by rowid");
        q.exec();
        while (q.next())
            rows << q.money("zcje").toFixed2() + " " + q.text("szyy");
        return rows;
    }
    void press(const char* button) { box<QPushButton>(button)->click(); }
    static std::function<void(QWidget*)> pressInDialog(Qt::Key key)
    {
        return [key](QWidget* dialog) {
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            QTest::keyClick(target, key);
        };
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
        Ttsbmfm::clearCopyBuffer();
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2026-01-01')");
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('02','二室','2026-01-01')");
        for (const auto& [code, name, parent] :
             QList<std::tuple<QString, QString, QString>>{{"I", "文学", "0"},
                                                          {"K", "历史", "0"},
                                                          {"I24", "小说", "I"},
                                                          {"I25", "报告文学", "I"}})
            Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values(:a,:b,:c)",
                     {code, name, parent});
        Sql::run(
            "insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa','I','文学','I24','小说')");
        Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) "
                 "values('aa','I','文学','I25','报告文学')");
        Sql::run("insert into cbsxxk(pyzjh,cbsmc,cbsdz,lxr) "
                 "values('ZHSJ','中华书局','北京王府井大街36号','李四')");
    }
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        fixture.reset();
    }

    void opensOnAnEmptyNewTitle()
    {
        open();
        QCOMPARE(screen->windowTitle(), QString("图书编目"));
        QCOMPARE(page(), 0);
        QCOMPARE(focused(), QString("DBEdit1"));
        QComboBox* firstLevel = box<QComboBox>("ComboBox5");
        QCOMPARE(firstLevel->count(), 2); // the roots of the tree only
        QCOMPARE(firstLevel->itemText(0), QString("I"));
        QCOMPARE(box<QComboBox>("ComboBox1")->count(), 2);
        QCOMPARE(box<QComboBox>("ComboBox3")->itemText(0), QString("中华书局"));
        QCOMPARE(box<QComboBox>("ComboBox4")->currentText(), QString("中文"));
        QCOMPARE(box<QComboBox>("ComboBox2")->currentText(), QString("图书未出借"));
        QCOMPARE(box("DBEdit25")->text(), QString("1"));
        QVERIFY(screen->correcting().isEmpty());
    }

    void cataloguesThreeTitlesFromTheKeyboard()
    {
        open();
        struct Title {
            QString title, barcode, price, copies, publisher;
        };
        const QList<Title> titles{{"三国演义", "T001", "25.00", "3", ""},
                                  {"水浒传", "T002", "", "2", ""},
                                  {"西游记", "T003", "18.5", "1", "中华书局"}};
        for (const Title& t : titles) {
            QCOMPARE(focused(), QString("DBEdit1"));
            typeEnter(t.title);
            clearFocused(); // the class stays from the title before
            typeEnter("I");
            typeEnter(t.barcode);
            typeEnter("I242");
            for (int i = 0; i < 7; ++i) // series to language keep their text
                typeEnter();
            QCOMPARE(focused(), QString("Edit6"));
            clearFocused();
            typeEnter("I24");
            QCOMPARE(focused(), QString("DBEdit17")); // the code was found on leaving
            QCOMPARE(box("Edit5")->text(), QString("小说"));
            typeEnter();
            typeEnter();
            typeEnter("32开");
            typeEnter("300");
            typeEnter();
            typeEnter();
            typeEnter(t.price);
            typeEnter();
            QCOMPARE(focused(), QString("DBEdit25"));
            clearFocused();
            typeEnter(t.copies);
            QCOMPARE(focused(), QString("DBComboBox3"));
            typeEnter(); // an empty set flag keeps the focus
            QCOMPARE(focused(), QString("DBComboBox3"));
            QTest::keyClicks(QApplication::focusWidget(), "N");
            QApplication::processEvents();
            QCOMPARE(focused(), QString("ComboBox1")); // no sets: on to the room
            clearFocused();
            typeEnter("01");
            QCOMPARE(box("Edit1")->text(), QString("一室"));
            QCOMPARE(focused(), QString("DBEdit2"));
            typeEnter("A-3");
            QCOMPARE(page(), 1);
            QCOMPARE(focused(), QString("ComboBox2"));
            if (t.barcode == "T001")
                QCOMPARE(box("Edit2")->text(), QString("SGYY"));
            typeEnter();
            typeEnter();
            typeEnter("2001-5-1");
            QCOMPARE(focused(), QString("DBEdit4"));
            typeEnter();
            QCOMPARE(focused(), QString("ComboBox3"));
            if (!t.publisher.isEmpty())
                typeText(QApplication::focusWidget(), t.publisher);
            QApplication::processEvents();
            if (t.publisher.isEmpty()) {
                typeEnter();
                QCOMPARE(focused(), QString("BitBtn4"));
            } else {
                QCOMPARE(box("DBEdit5")->text(), QString("北京王府井大街36号"));
                box<QPushButton>("BitBtn4")->setFocus();
            }
            typeEnter(); // Enter on Save saves
            QCOMPARE(Driver::shown(), QStringList{"保存提示:您的图书编目已经保存成功！"});
            QCOMPARE(page(), 0);
            // The next title keeps the class, room and language; the publisher box empties.
            QCOMPARE(box("DBEdit1")->text(), QString());
            QCOMPARE(box<QComboBox>("ComboBox5")->currentText(), QString("I"));
            QCOMPARE(box("Edit6")->text(), QString("I24"));
            QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("01"));
            QCOMPARE(box<QComboBox>("ComboBox4")->currentText(), QString("中文"));
            QCOMPARE(box<QComboBox>("ComboBox3")->currentText(), QString());
        }
        QCOMPARE(Fixture::count("select count(*) from tszk"), 3);
        QCOMPARE(ledger(), QStringList({"75.00 购书费", "18.50 购书费"}));
        Sql q("select * from tszk where txm='T003'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("tsmc"), QString("西游记"));
        QCOMPARE(q.text("pyzjh"), QString("XYJ"));
        QCOMPARE(q.text("mxflm"), QString("I24"));
        QCOMPARE(q.text("fsjh"), QString("A-3"));
        QCOMPARE(q.text("scddbh"), QString("01"));
        QCOMPARE(q.text("sfct"), QString("N"));
        QCOMPARE(q.text("cbsmc"), QString("中华书局"));
        QCOMPARE(q.text("cbsj"), QString("2001-05-01"));
        QCOMPARE(q.text("yz"), QString("中文"));
        QCOMPARE(q.text("tszt"), QString("W"));
        QCOMPARE(q.text("sfsh"), QString("N"));
        QCOMPARE(q.integer("tsym"), 300);
    }

    void lookUpsRefuseWhatIsNotThere()
    {
        open();
        box("Edit6")->setFocus();
        typeEnter("X9");
        QCOMPARE(Driver::shown(), QStringList{"图书馆管理系统:没有找到您需要的二级分类码！"});
        QCOMPARE(focused(), QString("Edit6"));
        clearFocused();

        box<QTabWidget>("PageControl1")->setCurrentIndex(1);
        box("DBEdit6")->setFocus();
        typeEnter("2001-13-40");
        QCOMPARE(Driver::shown(), QStringList{"提示:您输入的日期错误！请确定后重新输入。"});
        QCOMPARE(focused(), QString("DBEdit6"));
        box<QTabWidget>("PageControl1")->setCurrentIndex(0);

        box<QComboBox>("ComboBox1")->setFocus();
        typeEnter("99");
        QCOMPARE(Driver::shown(), QStringList{"提示:该图书室编号不存在！"});
        QCOMPARE(focused(), QString("ComboBox1"));
        clearFocused();
        // Empty: the room list for reference, and the first room in number order.
        QVERIFY(
            Driver::whileModal("Ttssxxfm", pressInDialog(Qt::Key_Escape), [this] { typeEnter(); }));
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("01"));
    }

    void secondLevelCodeIsChosenWhenSeveralBeginWithTheText()
    {
        open();
        box("Edit6")->setFocus();
        typeEnter("I25"); // one code: taken at once
        QCOMPARE(box("Edit5")->text(), QString("报告文学"));

        for (const bool take : {true, false}) {
            box("Edit6")->setFocus();
            clearFocused();
            QVERIFY(Driver::whileModal("TFormflxx",
                                       pressInDialog(take ? Qt::Key_Return : Qt::Key_Escape),
                                       [this] { typeEnter("I2"); }));
            reactivate();
            QCOMPARE(box("Edit6")->text(), take ? QString("I24") : QString("I2"));
            QCOMPARE(box("Edit5")->text(), take ? QString("小说") : QString());
        }
        QCOMPARE(Driver::shown(), QStringList());
    }

    void publisherIsTakenFromTheList()
    {
        Sql::run(
            "insert into cbsxxk(pyzjh,cbsmc,cbsdz,lxr) values('ZHSJ','中华书局','上海','赵六')");
        open();
        box<QTabWidget>("PageControl1")->setCurrentIndex(1);
        box<QComboBox>("ComboBox3")->setFocus();
        QVERIFY(Driver::whileModal(
            "Tcbsxxfm",
            [](QWidget* list) {
                QWidget* grid = list->focusWidget() ? list->focusWidget() : list;
                QTest::keyClick(grid, Qt::Key_Down); // the second 中华书局
                QTest::keyClick(grid, Qt::Key_Return);
            },
            [this] { typeEnter("中华"); }));
        reactivate();
        QCOMPARE(box<QComboBox>("ComboBox3")->currentText(), QString("中华书局"));
        QCOMPARE(box("DBEdit5")->text(), QString("上海"));
        QCOMPARE(box("DBEdit7")->text(), QString("赵六"));
        QCOMPARE(focused(), QString("BitBtn4"));
        QVERIFY(!screen->newPublisherMarked());
    }

    // Closing the screen while its publisher list is up takes the list along.
    void thePublisherListGoesWithTheScreen()
    {
        open();
        box<QTabWidget>("PageControl1")->setCurrentIndex(1);
        box<QComboBox>("ComboBox3")->setFocus();
        QPointer<QWidget> list;
        QVERIFY(Driver::whileModal(
            "Tcbsxxfm",
            [&](QWidget* dialog) {
                list = dialog;
                delete screen;
                screen = nullptr;
            },
            [this] {
                QWidget* box = QApplication::focusWidget();
                typeText(box, "中华");
                // Only the press: the box is gone when the list returns.
                QTest::sendKeyEvent(QTest::Press, box, Qt::Key_Return, QString("\r"),
                                    Qt::NoModifier);
            }));
        QVERIFY(!list);
        QApplication::processEvents();
    }

    void setFlagNWithSeveralSetsAsksForOne()
    {
        open();
        box<QComboBox>("DBComboBox3")->setFocus();
        typeEnter("Y");
        QCOMPARE(focused(), QString("DBEdit26"));
        QVERIFY(!box("DBEdit26")->isReadOnly());
        typeEnter("3");
        QCOMPARE(focused(), QString("ComboBox1"));
        QComboBox* flag = box<QComboBox>("DBComboBox3");
        flag->setFocus();
        flag->setEditText("N");
        QApplication::processEvents();
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QString("您输入的图书套数应该为1"));
        QCOMPARE(shown[0].caption, QString());
        QVERIFY(shown[0].isQuestion);
        QCOMPARE(focused(), QString("DBEdit26"));
    }

    void newPublisherIsAddedWithTheTitle()
    {
        open();
        QTabWidget* pages = box<QTabWidget>("PageControl1");
        pages->setCurrentIndex(1);
        box<QComboBox>("ComboBox3")->setFocus();
        Messages::queueAnswer(true);
        typeEnter("商务印书馆");
        QCOMPARE(Driver::shown(), QStringList{"提示:您确定要添加新的出版社信息吗?"});
        QVERIFY(screen->newPublisherMarked());
        QCOMPARE(focused(), QString("DBEdit5"));
        typeEnter("北京王府井大街36号");
        typeEnter("王五");
        typeEnter("010-65258899");
        typeEnter("100710");
        typeEnter("cp@example.cn");
        QCOMPARE(focused(), QString("BitBtn4"));

        // The save refuses: the typed publisher and its mark stay for the next try.
        press("BitBtn4");
        QCOMPARE(Driver::shown(), QStringList{"图书馆管理系统:所属分类不能为空！"});
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(focused(), QString("DBEdit1"));
        QVERIFY(screen->newPublisherMarked());

        box("DBEdit1")->setText("新华字典");
        box<QComboBox>("ComboBox5")->setEditText("I");
        box("DBEdit111")->setText("T100");
        box("DBEdit112")->setText("H164");
        box("DBEdit19")->setText("64开");
        box("DBEdit20")->setText("800");
        box<QComboBox>("ComboBox1")->setEditText("02");
        press("BitBtn4");
        QCOMPARE(Driver::shown(), QStringList{"保存提示:您的图书编目已经保存成功！"});
        QVERIFY(!screen->newPublisherMarked());
        Sql q("select * from cbsxxk where cbsmc='商务印书馆'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("pyzjh"), QString("SWYSG"));
        QCOMPARE(q.text("cbsdz"), QString("北京王府井大街36号"));
        QCOMPARE(q.text("lxr"), QString("王五"));
        QCOMPARE(q.text("lxdh"), QString("010-65258899"));
        QCOMPARE(q.text("yzbm"), QString("100710"));
        QCOMPARE(q.text("EMail"), QString("cp@example.cn"));
        QCOMPARE(Sql::scalar("select cbsmc from tszk").toString(), QString("商务印书馆"));
    }

    void priorAndNextCorrectTheStoredTitles()
    {
        Seed::book(
            {.barcode = "B1", .title = "红楼梦", .copies = 2, .price = Money::fromText("10")});
        Seed::book({.barcode = "B2", .title = "聊斋志异", .copies = 1});
        Sql::run("update tszk set tsjsh='I242',tskb='32开',tsym=100,scddbh='01',mxflm='I24'");
        open();
        press("BitBtn7"); // next from a new title: the first one
        QCOMPARE(screen->correcting(), QString("B1"));
        QCOMPARE(box("DBEdit1")->text(), QString("红楼梦"));
        QCOMPARE(box("Edit5")->text(), QString("小说"));
        QCOMPARE(box("Edit1")->text(), QString("一室"));
        QCOMPARE(box<QComboBox>("ComboBox3")->currentText(), QString("人民文学出版社"));
        press("BitBtn7");
        QCOMPARE(screen->correcting(), QString("B2"));
        press("BitBtn7"); // at the end it stays
        QCOMPARE(screen->correcting(), QString("B2"));
        press("BitBtn6");
        QCOMPARE(screen->correcting(), QString("B1"));

        Sql::run("update tszk set jcs=1 where txm='B1'"); // lent while on screen
        box("DBEdit25")->setText("5");
        press("BitBtn4");
        QCOMPARE(Driver::shown(), QStringList{"保存提示:您的图书编目信息已经保存成功！"});
        QCOMPARE(screen->correcting(), QString("B1"));
        QCOMPARE(box("Edit6")->text(), QString("I24")); // stays for the next save
        QCOMPARE(ledger(), QStringList{"30.00 购书费"});
        QCOMPARE(Sql::scalar("select bs from tszk where txm='B1'").toInt(), 5);
        QCOMPARE(Sql::scalar("select jcs from tszk where txm='B1'").toInt(), 1);
    }

    void deleteAsksAndReversesTheStoredTitleOnly()
    {
        Seed::book({.barcode = "B1", .copies = 2, .price = Money::fromText("20")});
        open();
        // An unsaved new title is discarded without a word to the store.
        box("DBEdit1")->setText("未保存的书");
        Messages::queueAnswer(true);
        press("BitBtn3");
        QCOMPARE(Driver::shown(), QStringList{"删除提示:您确定要删除该图书编目吗？"});
        QCOMPARE(box("DBEdit1")->text(), QString());
        QCOMPARE(Fixture::count("select count(*) from tszk"), 1);
        QCOMPARE(ledger(), QStringList());

        press("BitBtn7");
        press("BitBtn3"); // answered Cancel
        QCOMPARE(Fixture::count("select count(*) from tszk"), 1);
        Messages::takeShown();
        Messages::queueAnswer(true);
        press("BitBtn3");
        QCOMPARE(Driver::shown(), QStringList{"删除提示:您确定要删除该图书编目吗？"});
        QCOMPARE(Fixture::count("select count(*) from tszk"), 0);
        QCOMPARE(ledger(), QStringList{"-40.00 冲销"});
        QVERIFY(screen->correcting().isEmpty());
    }

    void copyAndPasteFillANewTitle()
    {
        Seed::book({.barcode = "B1", .title = "红楼梦"});
        Sql::run("update tszk set yz='中文',scddbh='01',fsjh='A-1'");
        open();
        QTest::keyClick(screen, Qt::Key_F7); // nothing copied yet
        QCOMPARE(Driver::shown(),
                 QStringList{"提示:您输入的信息不完整，请入完整后再重新拷贝，粘贴。"});
        QCOMPARE(focused(), QString("DBEdit1"));

        press("BitBtn7");
        QTest::keyClick(screen, Qt::Key_F6);
        QTest::keyClick(screen, Qt::Key_F4);
        QVERIFY(screen->correcting().isEmpty());
        QCOMPARE(box("DBEdit1")->text(), QString());
        box<QComboBox>("ComboBox5")->setCurrentText("I");
        QTest::keyClick(screen, Qt::Key_F7);
        QCOMPARE(box<QComboBox>("ComboBox5")->currentText(), QString("I")); // not in the copy
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(box("DBEdit1")->text(), QString("红楼梦"));
        QCOMPARE(box("DBEdit111")->text(), QString("B1"));
        QCOMPARE(box("DBEdit2")->text(), QString("A-1"));
        QVERIFY(screen->correcting().isEmpty());

        // The buffer outlives the screen.
        delete screen;
        open();
        QTest::keyClick(screen, Qt::Key_F7);
        QCOMPARE(box("DBEdit1")->text(), QString("红楼梦"));
    }
};

LIBRARY_TEST(TsbmTest)
#include "tsbmtest.moc"
