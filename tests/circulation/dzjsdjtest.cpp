#include "circulation/dzjsdj.h"
#include "app/appcommands.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/dzjykxx.h"
#include "pickers/jsxxzl.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/windows.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The lending desk driven as the operator drives it: card, book, Save, by keyboard.
class DzjsdjTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    Tdzjsdjfm* screen = nullptr;
    QStringList picked; // the book lists the picker was shown over, barcodes joined by ","

    QLineEdit* edit(const char* name) { return Driver::box<QLineEdit>(screen, name); }
    QPushButton* button(const char* name) { return Driver::box<QPushButton>(screen, name); }
    QTableView* loans() { return Driver::box<QTableView>(screen, "DBGrid1"); }
    int loanRows()
    {
        QAbstractItemModel* model = loans()->model();
        while (model->canFetchMore({}))
            model->fetchMore({});
        return model->rowCount();
    }
    void open()
    {
        screen = Driver::openScreen<Tdzjsdjfm>("dzjsdj");
        QVERIFY(screen);
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    // Types into a box and presses Enter; a box left by Enter runs its leave step.
    void typeEnter(const char* name, const QString& text)
    {
        QLineEdit* box = edit(name);
        box->setFocus();
        box->selectAll();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void enterCard(const QString& text) { typeEnter("Edit1", text); }
    void enterBook(const QString& text) { typeEnter("Edit2", text); }
    // Runs `start`; the book picker that it opens has its list read into `picked` and
    // closes with `choice` (or its first row) under the cursor. False when none opened.
    bool pickBook(const std::function<void()>& start, const QString& choice = QString())
    {
        return Driver::whileModal(
            "Ttsxxfm",
            [&](QWidget* picker) {
                auto* grid = Driver::box<QTableView>(picker, "DBGrid1");
                QStringList listed = Driver::columnTexts(grid);
                std::sort(listed.begin(), listed.end());
                picked << listed.join(",");
                QVERIFY(Driver::choose(grid, choice.isEmpty() ? listed.value(0) : choice));
                Driver::box<QPushButton>(picker, "Button2")->click(); // "确定"
            },
            start);
    }
    // Runs `start`; the card picker that it opens has its list read and closes with `number`.
    QStringList pickCard(const std::function<void()>& start, const QString& number)
    {
        QStringList listed;
        const bool seen = Driver::whileModal(
            "Tdzjykxxfm",
            [&](QWidget* picker) {
                auto* grid = Driver::box<QTableView>(picker, "DBGrid1");
                listed = Driver::columnTexts(grid);
                QVERIFY(Driver::choose(grid, number));
                QTest::keyClick(grid, Qt::Key_Return);
            },
            start);
        return seen ? listed : QStringList{"no picker"};
    }
    static int count(const QString& statement) { return Fixture::count(statement); }
    static void card(const QString& number, const QString& name, const QString& grade = "A",
                     const QString& lost = "否")
    {
        Seed::CardRow row;
        row.number = number;
        row.name = name;
        row.grade = grade;
        row.lost = lost;
        Seed::card(row);
    }
    static void book(const QString& barcode, const QString& title, int copies = 1, int lent = 0,
                     const QString& state = "W")
    {
        Seed::BookRow row;
        row.barcode = barcode;
        row.title = title;
        row.copies = copies;
        row.lent = lent;
        row.state = state;
        Seed::book(row);
    }
    static void grade(const QString& code, int maxBooks)
    {
        Seed::GradeRow row;
        row.code = code;
        row.maxBooks = maxBooks;
        Seed::grade(row);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
        picked.clear();
        Seed::grade();
        Seed::card();
    }
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        fixture.reset();
    }

    void threeBooksByKeyboard()
    {
        for (const char* barcode : {"B0001", "B0002", "B0003"})
            book(barcode, QString("书") + barcode);
        open();
        QVERIFY(!edit("Edit2")->isEnabled());
        QVERIFY(!button("BitBtn1")->isEnabled());
        enterCard("10");
        QCOMPARE(edit("Edit1")->text(), QString("1001"));
        QCOMPARE(edit("Edit4")->text(), QString("张三"));
        QCOMPARE(edit("Edit6")->text(), QString("A"));
        QCOMPARE(edit("Edit7")->text(), QString("5"));
        QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
        for (const char* barcode : {"B0001", "B0002", "B0003"}) {
            enterBook(barcode);
            QCOMPARE(edit("Edit5")->text(), QString("书") + barcode);
            QCOMPARE(edit("Edit3")->text(), QString("30"));
            QCOMPARE(QApplication::focusWidget(), button("BitBtn1"));
            QTest::keyClick(button("BitBtn1"), Qt::Key_Return);
            QCOMPARE(edit("Edit2")->text(), QString());
            QVERIFY(!button("BitBtn1")->isEnabled());
            QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
        }
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(loanRows(), 3);
        QCOMPARE(count("select count(*) from dzjsmxk where kno='1001' and hsjsr is null"), 3);
        QCOMPARE(count("select jsbs from cardk where kno='1001'"), 3);
        // Enter in the list shows the loan's book.
        loans()->setFocus();
        loans()->setCurrentIndex(loans()->model()->index(1, 0));
        const QString second = loans()->model()->index(1, 1).data().toString();
        QCOMPARE(Driver::bookDetailsShown([this] { QTest::keyClick(loans(), Qt::Key_Return); }),
                 second);
    }

    void severalCardsOpenThePickerOverThem()
    {
        card("1002", "李四");
        card("1003", "王五", "A");
        Sql::run("update cardk set sfyx='N' where kno='1003'");
        card("2001", "赵六");
        open();
        QCOMPARE(pickCard([this] { enterCard("100"); }, "1002"), (QStringList{"1001", "1002"}));
        QCOMPARE(edit("Edit4")->text(), QString("李四"));
        // The card list button opens it over every valid card.
        QCOMPARE(pickCard([this] { button("BitBtn4")->click(); }, "1001"),
                 (QStringList{"1001", "1002", "2001"}));
        QCOMPARE(edit("Edit4")->text(), QString("张三"));
    }

    void aRefusedCardLeavesNothingOfThePreviousReader_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("cardBox");
        QTest::newRow("no such card") << "9"
                                      << "借书提示:没有该读者的借书证号！"
                                      << "";
        QTest::newRow("lost") << "2001"
                              << "图书馆管理系统:此借书证已经挂失,不能借书"
                              << "";
        QTest::newRow("no grade row") << "3001"
                                      << "图书馆管理系统:借书等级还没有设置好！"
                                      << "3001";
    }
    void aRefusedCardLeavesNothingOfThePreviousReader()
    {
        QFETCH(QString, number);
        QFETCH(QString, message);
        QFETCH(QString, cardBox);
        card("2001", "李四", "A", "是");
        card("3001", "王五", "Z");
        Seed::book();
        Seed::loan("1001", "B0001", Fixture::today(), Fixture::today().addDays(30));
        const QString photo = fixture->path("face.bmp");
        QImage face(40, 50, QImage::Format_RGB32);
        face.fill(Qt::red);
        QVERIFY(face.save(photo));
        Sql::run("update cardk set strpath=:p where kno='1001'", {photo});
        open();
        enterCard("1001");
        QVERIFY(!Driver::box<QLabel>(screen, "Image1")->pixmap().isNull());
        QCOMPARE(loanRows(), 1);
        enterCard(number);
        QCOMPARE(Driver::shown(), QStringList{message});
        QCOMPARE(edit("Edit1")->text(), cardBox);
        for (const char* name : {"Edit4", "Edit6", "Edit7"})
            QCOMPARE(edit(name)->text(), QString());
        QVERIFY(Driver::box<QLabel>(screen, "Image1")->pixmap().isNull());
        QCOMPARE(loanRows(), 0);
        QVERIFY(!edit("Edit2")->isEnabled());
        QVERIFY(!button("BitBtn1")->isEnabled());
    }

    void typingOverTheCardWithdrawsIt()
    {
        Seed::book();
        open();
        enterCard("1001");
        enterBook("B0001");
        QVERIFY(button("BitBtn1")->isEnabled());
        // A number typed over the card is no card until it is entered.
        edit("Edit1")->setFocus();
        QTest::keyClick(edit("Edit1"), Qt::Key_End);
        QTest::keyClicks(edit("Edit1"), "9");
        QVERIFY(!button("BitBtn1")->isEnabled());
        QVERIFY(!edit("Edit2")->isEnabled());
        // Emptied, Save closes the screen and lends nothing.
        edit("Edit1")->selectAll();
        QTest::keyClick(edit("Edit1"), Qt::Key_Delete);
        QVERIFY(button("BitBtn1")->isEnabled());
        button("BitBtn1")->click();
        QCOMPARE(count("select count(*) from dzjsmxk"), 0);
        QTRY_VERIFY(!Windows::findOpen("Tdzjsdjfm"));
        screen = nullptr;
    }

    void typingOverTheBarcodeWithdrawsIt()
    {
        Seed::book();
        book("B0002", "水浒传");
        open();
        enterCard("1001");
        enterBook("B0001");
        edit("Edit2")->setFocus();
        QTest::keyClicks(edit("Edit2"), "X");
        QVERIFY(!button("BitBtn1")->isEnabled());
        QCOMPARE(edit("Edit5")->text(), QString());
    }

    void bookEntryRefusals()
    {
        book("B0001", "红楼梦", 1, 1, "C");
        open();
        enterCard("1001");
        enterBook("NOPE");
        QCOMPARE(Driver::shown(), QStringList{"借书提示:您输入的条形码不存在，请确定后重新输入。"});
        QCOMPARE(edit("Edit2")->text(), QString());
        QVERIFY(!button("BitBtn1")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
        enterBook("B0001");
        QCOMPARE(Driver::shown(), QStringList{"提示:图书总库中该图书已被借完！"});
        QVERIFY(!button("BitBtn1")->isEnabled());
    }

    void titleFragmentFoundOnceIsReplacedByItsBarcode()
    {
        book("B0001", "三体：黑暗森林");
        book("B0002", "球状闪电");
        open();
        enterCard("1001");
        enterBook("黑暗森");
        QCOMPARE(edit("Edit2")->text(), QString("B0001"));
        QCOMPARE(edit("Edit5")->text(), QString("三体：黑暗森林"));
        QVERIFY(button("BitBtn1")->isEnabled());
        QCOMPARE(picked, QStringList());
    }

    void pickedBookAtTheLimitSendsTheOperatorBackToTheCard()
    {
        grade("B", 1);
        card("2001", "李四", "B");
        book("B0001", "红楼梦");
        book("B0002", "红楼梦新证");
        Seed::loan("2001", "B0001", Fixture::today(), Fixture::today().addDays(30));
        open();
        enterCard("2001");
        QVERIFY(pickBook([this] { enterBook("红楼"); }));
        QCOMPARE(picked, QStringList{"B0001,B0002"});
        QCOMPARE(Driver::shown(),
                 QStringList{"提示:您所借图书数以达到允许的借书数\n该读者不能再借其他图书。"});
        QCOMPARE(edit("Edit2")->text(), QString());
        QVERIFY(!edit("Edit2")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit("Edit1"));
    }

    void theBookListButtonListsEveryBook()
    {
        book("B0001", "红楼梦");
        book("B0002", "水浒传");
        open();
        enterCard("1001");
        edit("Edit2")->setFocus();
        QVERIFY(pickBook(
            [this] {
                button("BitBtn5")->click();
                QCoreApplication::processEvents();
            },
            "B0002"));
        QCOMPARE(picked, QStringList{"B0001,B0002"});
        QCOMPARE(edit("Edit2")->text(), QString("B0002"));
        QCOMPARE(edit("Edit5")->text(), QString("水浒传"));
        QVERIFY(button("BitBtn1")->isEnabled());
    }

    // A fragment or a barcode prefix matching several titles opens the book picker over
    // them; the chosen book is the one lent.
    void severalMatchesAreChosenInThePickerAndLent_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed");
        QTest::newRow("title fragment") << "数学"
                                        << "B0001,B0002";
        QTest::newRow("barcode prefix") << "B000"
                                        << "B0001,B0002,B0003";
    }
    void severalMatchesAreChosenInThePickerAndLent()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        book("B0001", "高等数学");
        book("B0002", "数学分析", 2);
        book("B0003", "物理学");
        open();
        enterCard("1001");
        QVERIFY(pickBook([&] { enterBook(typed); }, "B0002"));
        QCOMPARE(picked, QStringList{listed});
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(edit("Edit2")->text(), QString("B0002"));
        QCOMPARE(edit("Edit5")->text(), QString("数学分析"));
        QCOMPARE(edit("Edit3")->text(), QString("30"));
        QCOMPARE(QApplication::focusWidget(), button("BitBtn1"));
        QTest::keyClick(button("BitBtn1"), Qt::Key_Return);
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(count("select count(*) from dzjsmxk where kno='1001' and txm='B0002' "
                       "and hsjsr is null"),
                 1);
        QCOMPARE(count("select jcs from tszk where txm='B0002'"), 1);
        QCOMPARE(loanRows(), 1);
    }

    void aBookWithoutPriceIsLent()
    {
        Seed::book();
        Sql::run("update tszk set tsjg=null");
        open();
        enterCard("1001");
        enterBook("B0001");
        QCOMPARE(edit("Edit3")->text(), QString());
        button("BitBtn1")->click();
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(count("select count(*) from dzjsmxk"), 1);
        QVERIFY(Windows::findOpen("Tdzjsdjfm"));
    }

    void saveRefusedForABookOnLoanDisablesSave()
    {
        book("B0001", "红楼梦", 2);
        Seed::loan("1001", "B0001", Fixture::today(), Fixture::today().addDays(30));
        Sql::run("update tszk set jcs=1");
        grade("C", 9);
        Sql::run("update cardk set kdj='C'");
        open();
        enterCard("1001");
        enterBook("B0001");
        button("BitBtn1")->click();
        QCOMPARE(Driver::shown(), QStringList{"提示信息:读者已借此书!"});
        QVERIFY(!button("BitBtn1")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
        QCOMPARE(count("select count(*) from dzjsmxk"), 1);
    }
};

LIBRARY_TEST(DzjsdjTest)
#include "dzjsdjtest.moc"
