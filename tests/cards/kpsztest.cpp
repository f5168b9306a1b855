#include "cards/kpsz.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

// The card grade screen: the rules a grade carries, and the checks that keep a grade
// from being stored half-filled or twice.
class KpszTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tkpszfm> screen;

    static void addGrade(const QString& grade, const QString& type, double fee, int period)
    {
        Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw,yxxjcs,yqfkje,yxts) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k)",
                 {grade, type, fee, 0.0, period, 5, 100.0, "日", 2, 0.2, 730.0});
    }
    void open()
    {
        screen = std::make_unique<Tkpszfm>();
        screen->show();
    }
    QLineEdit* box(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QComboBox* chooser() { return screen->findChild<QComboBox*>("ComboBox1"); }
    void click(const char* name)
    {
        QAbstractButton* button = screen->findChild<QAbstractButton*>(name);
        QVERIFY2(button, name);
        button->click();
    }
    void stepper(const char* arrow, int times = 1)
    {
        auto* button = screen->findChild<QWidget*>("UpDown1")->findChild<QToolButton*>(arrow);
        for (int i = 0; i < times; ++i)
            button->click();
    }
    // Replaces a box's text as the operator would, by typing.
    void retype(const char* name, const QString& text)
    {
        QLineEdit* edit = box(name);
        edit->selectAll();
        if (!edit->text().isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &typed); // one key event per text, Chinese included
    }
    void fillNewGrade(const QString& grade)
    {
        retype("DBEdit6", grade);
        chooser()->setCurrentText("IC卡");
        retype("DBEdit3", "30");
        retype("DBEdit4", "5");
        retype("DBEdit5", "100");
        retype("Edit1", "2");
    }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.text;
        return texts;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void newGradeIsSavedWithTheRuleDefaults()
    {
        open();
        QVERIFY(screen->chooserOnTop()); // empty table: the type comes from the chooser
        QCOMPARE(box("DBEdit1")->text(), QString("0.00"));
        fillNewGrade("A");
        click("save");
        QCOMPARE(shownTexts(), QStringList());

        Sql q("select * from jykdjk");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("kdj"), QString("A"));
        QCOMPARE(q.text("km"), QString("IC卡"));
        QCOMPARE(q.money("yqfkje"), Money::fromText("0.5"));
        QCOMPARE(q.number("yxts"), 365.0);
        QCOMPARE(q.text("jyqxdw"), QString("日"));
        QCOMPARE(q.integer("yxxjcs"), 2);
        QCOMPARE(q.integer("jyqx"), 30);
        QCOMPARE(q.money("jsyj"), Money::fromText("100"));
        QCOMPARE(q.money("gbf"), Money());

        // Ready for the next grade: a blank row, renewals empty, fine and validity kept.
        QCOMPARE(screen->table().state(), GradeTable::State::Insert);
        QCOMPARE(box("DBEdit6")->text(), QString());
        QCOMPARE(box("Edit1")->text(), QString());
        QCOMPARE(box("Edit2")->text(), QString("0.5"));
        QCOMPARE(box("Edit3")->text(), QString("365"));
        QVERIFY(screen->chooserOnTop());
    }

    void duplicateGradeIsRefusedAndNothingStored()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "借阅证", 5, 30);
        open();
        click("next"); // browse the second grade
        click("add");
        QCOMPARE(screen->table().state(), GradeTable::State::Insert);
        QCOMPARE(box("Edit1")->text(), QString());
        QCOMPARE(box("Edit2")->text(), QString()); // Add clears the fine box
        fillNewGrade("A");
        retype("Edit2", "1");
        click("save");
        QCOMPARE(shownTexts(), QStringList{"记录重复,请重输!"});
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 2);
        QCOMPARE(Fixture::count("select count(*) from jykdjk where km='IC卡'"), 0);
        QCOMPARE(screen->table().state(), GradeTable::State::Insert); // still there to correct
    }

    void aFailedRuleWriteTakesTheRowBackToo()
    {
        Sql::run("create trigger refuse before update of yqfkje on jykdjk "
                 "begin select raise(abort, 'refused'); end");
        open();
        fillNewGrade("C");
        click("save");
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().text.contains("refused"));
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 0);
    }

    void saveChecksTheBoxesInOrder_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("renewals empty") << "Edit1"
                                        << ""
                                        << "请填写续借次数！";
        QTest::newRow("renewals not whole") << "Edit1"
                                            << "1.5"
                                            << "续借次数格式不对！";
        QTest::newRow("renewals negative") << "Edit1"
                                           << "-1"
                                           << "续借次数格式不对！";
        QTest::newRow("fine empty") << "Edit2"
                                    << ""
                                    << "请填写逾期罚款！";
        QTest::newRow("fine not a number") << "Edit2"
                                           << "0.5元"
                                           << "逾期罚款数格式不对！";
        QTest::newRow("fine negative") << "Edit2"
                                       << "-0.5"
                                       << "逾期罚款数格式不对！";
        QTest::newRow("validity empty") << "Edit3"
                                        << ""
                                        << "办新借阅证时有效天数不能为空！";
        QTest::newRow("validity not whole") << "Edit3"
                                            << "一年"
                                            << "办新借阅证时有效天数格式不能为空！";
        QTest::newRow("validity negative") << "Edit3"
                                           << "-30"
                                           << "办新借阅证时有效天数格式不能为空！";
        QTest::newRow("grade") << "DBEdit6"
                               << ""
                               << "借书卡等级不能为空!";
        QTest::newRow("fee") << "DBEdit1"
                             << ""
                             << "工本费不能为空!";
        QTest::newRow("loan period") << "DBEdit3"
                                     << ""
                                     << "借书期限值不能为空!";
        QTest::newRow("deposit") << "DBEdit5"
                                 << ""
                                 << "借书押金不能为空!";
        QTest::newRow("max books") << "DBEdit4"
                                   << ""
                                   << "请输入最大借书数量!";
    }
    void saveChecksTheBoxesInOrder()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, text);
        QFETCH(QString, message);
        open();
        fillNewGrade("A");
        // Every later box is empty too: the first check in order must win.
        retype(qPrintable(boxName), text);
        if (boxName.startsWith("DBEdit")) {
            const QStringList order = {"DBEdit6", "DBEdit1", "DBEdit3", "DBEdit5", "DBEdit4"};
            for (qsizetype i = order.indexOf(boxName) + 1; i < order.size(); ++i)
                retype(qPrintable(order.at(i)), "");
        }
        click("save");
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, message);
        const bool plain = !boxName.startsWith("DBEdit");
        QCOMPARE(shown.first().caption, QString(plain ? Messages::applicationTitle : "提示信息"));
        QCOMPARE(screen->focusWidget(), box(qPrintable(boxName)));
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 0);
    }

    void chooserMustNameTheCardType()
    {
        open();
        fillNewGrade("A");
        chooser()->setCurrentIndex(-1);
        click("save");
        QCOMPARE(shownTexts(), QStringList{"请输入借书证名!"});
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 0);
    }

    void savingABrowsedGrade()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "IC卡", 8, 14);
        open();
        click("next"); // browsing B: only its rule boxes change
        retype("Edit2", "1.5");
        retype("Edit3", "180");
        click("save");
        QCOMPARE(shownTexts(), QStringList());
        Sql q("select yqfkje, yxts, km from jykdjk where kdj='B'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.money("yqfkje"), Money::fromText("1.5"));
        QCOMPARE(q.number("yxts"), 180.0);
        QCOMPARE(q.text("km"), QString("IC卡"));

        // After a delete the type chooser is on top and empty: the type must be chosen.
        click("prior");  // from the blank row to B
        click("prior");  // to A
        click("remove"); // A goes; B is current, its type hidden behind the chooser
        QVERIFY(screen->chooserOnTop());
        retype("Edit1", "1");
        retype("Edit2", "2");
        click("save");
        QCOMPARE(shownTexts(), QStringList{"请输入借书证名!"});
        QCOMPARE(Sql::scalar("select yqfkje from jykdjk where kdj='B'").toDouble(), 1.5);
        chooser()->setCurrentText("借阅证");
        click("save");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(Sql::scalar("select km from jykdjk where kdj='B'").toString(), QString("借阅证"));
        QCOMPARE(Sql::scalar("select yqfkje from jykdjk where kdj='B'").toDouble(), 2.0);
    }

    void stepperMovesTheLoanPeriodWithinItsOwnBounds()
    {
        addGrade("A", "借阅证", 5, 30);
        open();
        stepper("down"); // at its own bottom right after opening
        QCOMPARE(box("DBEdit3")->text(), QString("30"));
        stepper("up", 3);
        QCOMPARE(box("DBEdit3")->text(), QString("33"));
        stepper("down", 3);
        QCOMPARE(box("DBEdit3")->text(), QString("30"));
        stepper("down");
        QCOMPARE(box("DBEdit3")->text(), QString("30"));
        stepper("up", 105); // the top is 100 steps up
        QCOMPARE(box("DBEdit3")->text(), QString("130"));
        QVERIFY(screen->table().isModified());
    }

    void navigatorLoadsTheRuleBoxesAndChecksBeforeMoving()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "IC卡", 8, 14);
        Sql::run("update jykdjk set yqfkje=1.5, yxxjcs=3, yxts=180 where kdj='B'");
        open();
        // Every box shows the first grade as stored, the rule boxes too.
        QCOMPARE(box("DBEdit6")->text(), QString("A"));
        QCOMPARE(box("DBEdit7")->text(), QString("借阅证"));
        QVERIFY(!screen->chooserOnTop());
        QCOMPARE(box("DBEdit1")->text(), QString("5.00"));
        QCOMPARE(box("Edit1")->text(), QString("2"));
        QCOMPARE(box("Edit2")->text(), QString("0.2"));
        QCOMPARE(box("Edit3")->text(), QString("730"));

        click("next");
        QCOMPARE(box("DBEdit6")->text(), QString("B"));
        QCOMPARE(box("Edit1")->text(), QString("3"));
        QCOMPARE(box("Edit2")->text(), QString("1.5"));
        QCOMPARE(box("Edit3")->text(), QString("180"));

        // A changed row with an empty required box stays put.
        retype("DBEdit5", "");
        click("prior");
        QCOMPARE(shownTexts(), QStringList{"借书押金不能为空!"});
        QCOMPARE(box("DBEdit6")->text(), QString("B"));

        // A complete change is stored when moving on, and the type stays the row's own.
        retype("DBEdit5", "50");
        click("prior");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(box("DBEdit6")->text(), QString("A"));
        QCOMPARE(Sql::scalar("select jsyj from jykdjk where kdj='B'").toDouble(), 50.0);
        QCOMPARE(Sql::scalar("select km from jykdjk where kdj='B'").toString(), QString("IC卡"));
    }

    void aHiddenChooserDoesNotOverwriteTheType()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "借阅证", 5, 30);
        open();
        click("next");
        click("add");
        fillNewGrade("C"); // the chooser now holds "IC卡"
        retype("Edit2", "0.5");
        click("save");
        QCOMPARE(shownTexts(), QStringList());
        click("prior"); // to C
        click("prior"); // to B, whose own type shows in the name box
        QCOMPARE(box("DBEdit6")->text(), QString("B"));
        QVERIFY(!screen->chooserOnTop());
        retype("DBEdit3", "20");
        retype("Edit1", "1");
        click("save");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(Sql::scalar("select km from jykdjk where kdj='B'").toString(), QString("借阅证"));
        QCOMPARE(Sql::scalar("select jyqx from jykdjk where kdj='B'").toInt(), 20);
        QCOMPARE(Sql::scalar("select km from jykdjk where kdj='C'").toString(), QString("IC卡"));
    }

    void anUnsavedNewGradeHoldsTheNavigator()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "借阅证", 5, 30);
        open();
        click("next");
        click("add");
        fillNewGrade("Z");
        click("prior");
        QCOMPARE(shownTexts(), QStringList{"新增的借书证等级还没有保存，请先保存!"});
        QCOMPARE(box("DBEdit6")->text(), QString("Z"));
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 2);
    }

    void deleteRemovesTheCurrentGradeAtOnce()
    {
        addGrade("A", "借阅证", 5, 30);
        addGrade("B", "IC卡", 8, 14);
        open();
        click("remove");
        QCOMPARE(Messages::takeShown().size(), 0);
        QCOMPARE(Sql::scalar("select kdj from jykdjk").toString(), QString("B"));
        QCOMPARE(box("DBEdit6")->text(), QString("B"));
        QVERIFY(screen->chooserOnTop());
        QCOMPARE(box("Edit2")->text(), QString("0.2")); // B's own fine
    }

    void saveRightAfterOpeningKeepsTheGradesRules()
    {
        addGrade("A", "借阅证", 5, 30);
        open();
        click("save");
        QCOMPARE(shownTexts(), QStringList());
        Sql q("select yqfkje,yxxjcs,yxts from jykdjk where kdj='A'");
        q.exec();
        QVERIFY(q.first());
        QCOMPARE(q.money("yqfkje").toShortest(), QString("0.2"));
        QCOMPARE(q.integer("yxxjcs"), 2);
        QCOMPARE(q.integer("yxts"), 730);
    }

    void addRightAfterOpeningStartsANewGrade()
    {
        addGrade("A", "借阅证", 5, 30);
        open();
        click("add");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(screen->table().state(), GradeTable::State::Insert);
        QCOMPARE(box("DBEdit6")->text(), QString());
    }

    void closingRules()
    {
        addGrade("A", "借阅证", 5, 30);
        open();
        retype("DBEdit1", "");
        click("close");
        QCOMPARE(shownTexts(), QStringList{"工本费不能为空!"});
        QVERIFY(screen->isVisible());

        retype("DBEdit1", "6");
        QTest::keyClick(screen.get(), Qt::Key_Escape);
        QVERIFY(!screen->isVisible());
        QCOMPARE(Sql::scalar("select gbf from jykdjk").toDouble(), 5.0); // never saved

        // A new row without a type name: warned about, then closed.
        addGrade("B", "借阅证", 5, 30);
        open();
        click("next");
        click("add");
        retype("DBEdit6", "Q");
        screen->close();
        QCOMPARE(shownTexts(), QStringList{"借书卡名不能为空!"});
        QVERIFY(!screen->isVisible());
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 2);
    }

    void enterMovesAlongTheRuleBoxesAndThenSaves()
    {
        open();
        screen->activateWindow();
        fillNewGrade("A");
        box("DBEdit3")->setFocus();
        QTest::keyClick(box("DBEdit3"), Qt::Key_Return);
        QCOMPARE(screen->focusWidget(), box("Edit1"));
        QTest::keyClick(box("Edit1"), Qt::Key_Return);
        QCOMPARE(screen->focusWidget(), box("Edit2"));
        QTest::keyClick(box("Edit2"), Qt::Key_Return);
        QWidget* save = screen->focusWidget();
        QCOMPARE(save->objectName(), QString("save"));
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 0); // reaching Save saves nothing
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(Messages::takeShown().size(), 0);
        QCOMPARE(Fixture::count("select count(*) from jykdjk"), 1);
    }
};

LIBRARY_TEST(KpszTest)
#include "kpsztest.moc"
