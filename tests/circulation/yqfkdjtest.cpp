#include "circulation/yqfkdj.h"
#include "app/appcommands.h"
#include "circulation/dzjycx.h"
#include "circulation/finebills.h"
#include "data/session.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/dzjykxx.h"
#include "reports/reportoutput.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The overdue fine dialog opened from the menu: card and book entered by hand.
class YqfkdjTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tyqfkdjfm> dialog;

    QLineEdit* edit(const char* name) { return Driver::box<QLineEdit>(dialog.get(), name); }
    void confirm(bool yes)
    {
        Messages::queueAnswer(yes);
        Driver::box<QPushButton>(dialog.get(), "BitBtn1")->click();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Seed::grade();
        for (const char* number : {"1001", "1002"}) {
            Seed::CardRow card;
            card.number = number;
            card.name = QString("读者") + number;
            Seed::card(card);
        }
        for (const char* barcode : {"B10", "B11", "C20"}) {
            Seed::BookRow book;
            book.barcode = barcode;
            Seed::book(book);
            Seed::loan("1001", barcode, Fixture::today().addDays(-40),
                       Fixture::today().addDays(-6));
        }
        FineBills::setPrintFlag(false);
        dialog = std::make_unique<Tyqfkdjfm>();
        dialog->show();
    }
    void cleanup()
    {
        dialog.reset();
        fixture.reset();
    }

    void opensFromTheLendingDeskMenu()
    {
        Commands::clear();
        AppCommands::registerAll();
        QVERIFY(Session::current().holds("yqfkdj")); // delivered with the rights catalogue
        QVERIFY(Driver::whileModal(
            "Tyqfkdjfm", [](QWidget* opened) { QTest::keyClick(opened, Qt::Key_Escape); },
            [] { Driver::open("yqfkdj"); }));
        QCOMPARE(Driver::shown(), QStringList());
    }

    void cardAndBarcodeEntryFillTheBoxes()
    {
        Driver::enter(edit("Edit1"));
        QCOMPARE(Driver::shown(),
                 QStringList{"提示:您必须输入读者的借书卡(证)号，才能登记罚款金额。"});
        Driver::type(edit("Edit1"), "9", true);
        QCOMPARE(Driver::shown(),
                 QStringList{"提示:您输入的借书卡(证)号不存在，请确定后重新输入。"});

        // Several cards: the picker lists the cards matched, an invalid one too, and the one
        // chosen there is the card of the fine.
        Sql::run("update cardk set sfyx='N' where kno='1002'");
        edit("Edit1")->setText("100");
        QVERIFY(Driver::whileModal(
            "Tdzjykxxfm",
            [](QWidget* picker) {
                auto* grid = Driver::box<QTableView>(picker, "DBGrid1");
                QCOMPARE(Driver::columnTexts(grid), (QStringList{"1001", "1002"}));
                QVERIFY(Driver::choose(grid, "1001"));
                QTest::keyClick(grid, Qt::Key_Return);
            },
            [this] { Driver::enter(edit("Edit1")); }));
        QCOMPARE(edit("Edit1")->text(), QString("1001"));
        QCOMPARE(edit("Edit2")->text(), QString("A"));

        Driver::type(edit("Edit4"), "D", true);
        QCOMPARE(Driver::shown(), QStringList{"提示:该读者没有借阅该图书！请确定后重新输入。"});
        edit("Edit4")->setText("B1");
        Driver::enter(edit("Edit4"));
        // The loan query comes up, narrowed to the card's loans of that barcode start.
        auto* loans = qobject_cast<Tdzjycxfm*>(Windows::findOpen("Tdzjycxfm"));
        QVERIFY(loans);
        QCOMPARE(loans->rowCount(), 2);
        QCOMPARE(loans->width(), 445);
        auto* grid = Driver::box<QTableView>(loans, "DBGrid1");
        QVERIFY(grid->isColumnHidden(6));
        QVERIFY(!grid->isColumnHidden(5));
        // The full barcodes are readable there, beside the card number.
        const int barcodes = 10;
        QCOMPARE(grid->model()->headerData(barcodes, Qt::Horizontal).toString(),
                 QString("图书条码"));
        QVERIFY(!grid->isColumnHidden(barcodes));
        QCOMPARE(grid->horizontalHeader()->visualIndex(barcodes), 1);
        QStringList listed = Driver::columnTexts(grid, barcodes);
        listed.sort();
        QCOMPARE(listed, (QStringList{"B10", "B11"}));
        // Opened from the menu afterwards, it lists every loan with the screen's own columns.
        Commands::clear();
        AppCommands::registerAll();
        QVERIFY(Driver::open("dzjycx"));
        QCOMPARE(Windows::findOpen("Tdzjycxfm"), static_cast<QWidget*>(loans));
        QCOMPARE(loans->rowCount(), 3);
        for (int column = 0; column < barcodes; ++column)
            QVERIFY(!grid->isColumnHidden(column));
        QVERIFY(grid->isColumnHidden(barcodes));
        QCOMPARE(grid->horizontalHeader()->visualIndex(barcodes), barcodes);
        delete loans;
        edit("Edit4")->setText("C");
        Driver::enter(edit("Edit4"));
        QCOMPARE(edit("Edit4")->text(), QString("C20"));
        QCOMPARE(Driver::shown(), QStringList());
    }

    void confirmWritesTheFineAndPrintsAtOnce()
    {
        FineBills::setPrintFlag(true);
        edit("Edit1")->setText("1001");
        Driver::enter(edit("Edit1"));
        edit("Edit4")->setText("C");
        Driver::enter(edit("Edit4"));
        edit("Edit3")->setText("3");
        confirm(true);
        QCOMPARE(Driver::shown(),
                 (QStringList{"提示信息:确认罚此金额?", "提示信息:该读者的逾期罚款单已送打印！"}));
        QVERIFY(dialog->outcome().confirmed());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(ReportOutput::takeRequests().size(), 1);
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk where kno='1001' and txm='C20' "
                                "and kdj='A' and je=3"),
                 1);
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=3"), 1);
    }

    void aFailedConfirmKeepsTheDialogOpen()
    {
        edit("Edit1")->setText("1001");
        edit("Edit2")->setText("A");
        edit("Edit4")->setText("C20");
        edit("Edit3")->setText("abc");
        confirm(true);
        QCOMPARE(Driver::shown(), QStringList{"保存提示:该读者的逾期罚款金额保存不成功！"});
        QVERIFY(dialog->isVisible());

        Sql::run("create trigger refuse before insert on cwk "
                 "begin select raise(abort, 'disk full'); end");
        edit("Edit3")->setText("2");
        confirm(true);
        QCOMPARE(Driver::shown(), (QStringList{"提示信息:确认罚此金额?",
                                               "保存提示:该读者的逾期罚款金额保存不成功！"}));
        QVERIFY(dialog->isVisible());
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);

        Sql::run("drop trigger refuse");
        confirm(true);
        QVERIFY(dialog->outcome().confirmed());
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=2"), 1);
    }
};

LIBRARY_TEST(YqfkdjTest)
#include "yqfkdjtest.moc"
