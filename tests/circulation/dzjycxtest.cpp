#include "circulation/dzjycx.h"
#include "../ui/xlsxreader.h"
#include "circulation/jhcxtj.h"
#include "circulation/yqwhs.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/jsxxzl.h"
#include "seed.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/windows.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The loan query and the overdue list, opened from the menu as an operator does.
class DzjycxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList column(QWidget* screen, int index)
    {
        auto* grid = Driver::box<QTableView>(screen, "DBGrid1");
        QStringList cells;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            cells << grid->model()->index(row, index).data().toString();
        return cells;
    }
    // Runs the condition dialog and lets `fill` answer it.
    static void conditions(QWidget* screen, const std::function<void(QWidget*)>& fill)
    {
        QVERIFY(Driver::whileModal("Tjhcxtjfm", fill, [screen] {
            Driver::box<QPushButton>(screen, "BitBtn1")->click(); // "重新查询"
        }));
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Seed::grade();
        const QList<QStringList> cards{{"2002", "王五"}, {"1001", "张三"}, {"1002", "李四"}};
        for (const QStringList& c : cards) {
            Seed::CardRow card;
            card.number = c[0];
            card.name = c[1];
            Seed::card(card);
        }
        const QList<QStringList> books{{"B1", "红楼梦"}, {"B2", "三国演义"}, {"B3", "西游记"}};
        for (const QStringList& b : books) {
            Seed::BookRow book;
            book.barcode = b[0];
            book.title = b[1];
            Seed::book(book);
        }
        const QDate today = Fixture::today();
        Seed::loan("2002", "B1", today.addDays(-40), today.addDays(-10));
        Seed::loan("1001", "B2", today.addDays(-20), today.addDays(10));
        const qint64 back = Seed::loan("1002", "B3", today.addDays(-50), today.addDays(-20));
        Sql::run("update dzjsmxk set hsjsr='测试员', hsrq=:d, sfsh='N' where iid=:i",
                 {today.addDays(-25), back});
    }
    void cleanup() { fixture.reset(); }

    void listsSortsAndNarrows()
    {
        auto* screen = Driver::openScreen<Tdzjycxfm>("dzjycx");
        QVERIFY(screen);
        QCOMPARE(screen->windowTitle(), QString("读者借阅查询"));
        QCOMPARE(column(screen, 0), (QStringList{"2002", "1001", "1002"})); // the store's order
        auto* grid = Driver::box<QTableView>(screen, "DBGrid1");
        QCOMPARE(grid->model()->headerData(5, Qt::Horizontal).toString(),
                 QString("还书日期/借书到期日期"));
        // The barcode column is kept for the fine dialog's look-up.
        QCOMPARE(grid->model()->columnCount(), 11);
        for (int column = 0; column < 11; ++column)
            QCOMPARE(grid->isColumnHidden(column), column == 10);

        // A click on a column title sorts by it.
        grid->horizontalHeader()->sectionClicked(2);
        QCOMPARE(column(screen, 2), (QStringList{"三国演义", "红楼梦", "西游记"})); // code order

        // The condition dialog (F3 in the pop-up menu, or "重新查询"): its operator lists, then
        // a reader-name condition.
        QCOMPARE(screen->findChild<QAction*>("queryAction")->shortcut(), QKeySequence(Qt::Key_F3));
        conditions(screen, [](QWidget* dialog) {
            auto* lender = Driver::box<QComboBox>(dialog, "ComboBox2");
            QCOMPARE(lender->itemText(0), QString("Y"));
            QVERIFY(lender->findText("测试员") > 0);
            Driver::box<QLineEdit>(dialog, "Edit2")->setText("李");
            Driver::box<QPushButton>(dialog, "BitBtn1")->click();
        });
        QVERIFY(screen->conditionsUsed());
        QCOMPARE(column(screen, 1), QStringList{"李四"});

        // Sorting now keeps the condition.
        grid->horizontalHeader()->sectionClicked(0);
        QCOMPARE(column(screen, 1), QStringList{"李四"});

        // Enter on a row (and a double-click) shows the book's details.
        grid->setFocus();
        QCOMPARE(Driver::bookDetailsShown([grid] { QTest::keyClick(grid, Qt::Key_Return); }),
                 QString("B3"));

        // Cancel hands back every loan, ordered by card.
        conditions(screen, [](QWidget* dialog) {
            Driver::box<QLineEdit>(dialog, "Edit2")->setText("王");
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(column(screen, 0), (QStringList{"1001", "1002", "2002"}));
        delete screen;
    }

    void theDialogRefusesWhatItCannotQuery()
    {
        auto* screen = Driver::openScreen<Tdzjycxfm>("dzjycx");
        conditions(screen, [](QWidget* dialog) {
            auto* ok = Driver::box<QPushButton>(dialog, "BitBtn1");
            Driver::box<QComboBox>(dialog, "ComboBox1")->setEditText("X");
            ok->click();
            QCOMPARE(Driver::shownTexts(),
                     QStringList{"您输入的查询条件中\"是否损坏\"必须为\"Y\"或\"N\"."});
            QVERIFY(dialog->isVisible());
            Driver::box<QComboBox>(dialog, "ComboBox1")->setEditText("");
            Driver::box<QComboBox>(dialog, "ComboBox3")->setEditText("无名氏");
            ok->click();
            QCOMPARE(Driver::shownTexts(), QStringList{"没有该操作员名称，请确定后重新输入。"});
            Driver::box<QComboBox>(dialog, "ComboBox3")->setEditText("");
            // A date box typed into and never left is checked by OK.
            Driver::box<QLineEdit>(dialog, "Edit5")->setText("2026-13-40");
            ok->click();
            QCOMPARE(Driver::shownTexts(), QStringList{"日期格式错误！"});
            QVERIFY(dialog->isVisible());
            Driver::box<QLineEdit>(dialog, "Edit5")
                ->setText(Fixture::today().addDays(-40).toString("yyyy-M-d"));
            Driver::box<QLineEdit>(dialog, "Edit6")
                ->setText(Fixture::today().addDays(-40).toString("yyyy-MM-dd"));
            ok->click();
        });
        QCOMPARE(column(screen, 0), QStringList{"2002"}); // both ends inclusive
        delete screen;
    }

    void theDateBoxesCheckWhenLeft()
    {
        Tjhcxtjfm dialog;
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        auto* from = Driver::box<QLineEdit>(&dialog, "Edit5");
        auto* to = Driver::box<QLineEdit>(&dialog, "Edit6");
        from->setFocus();
        Driver::type(from, "2026/3/5");
        to->setFocus();
        QCOMPARE(from->text(), QString("2026-03-05"));
        Driver::type(to, "2026-3-1");
        Driver::box<QWidget>(&dialog, "ComboBox2")->setFocus();
        QCOMPARE(Driver::shownTexts(), QStringList{"前一日期比后一日期大，请重输！"});
        QTRY_COMPARE(QApplication::focusWidget(), to);
        Driver::box<QLineEdit>(&dialog, "Edit9")->setFocus();
        Driver::shownTexts();
        to->setText("x");
        to->setFocus();
        Driver::box<QLineEdit>(&dialog, "Edit9")->setFocus();
        QCOMPARE(Driver::shownTexts(), QStringList{"日期格式错误！"});
        QCOMPARE(to->text(), QString()); // emptied
    }

    void overdueLoansAndTheirExport()
    {
        auto* screen = Driver::openScreen<TFormyqwhs>("N10");
        QVERIFY(screen);
        QCOMPARE(screen->rowCount(), 0); // empty until asked
        auto* card = Driver::box<QLineEdit>(screen, "Edit1");
        Driver::type(card, "1", true);
        QCOMPARE(Driver::shownTexts(), QStringList{"没有找到您需要的数据，请重新输入查询条件！"});
        card->clear();
        Driver::type(card, "", true);
        QCOMPARE(column(screen, 0), QStringList{"2002"});
        QCOMPARE(column(screen, 1), QStringList{"红楼梦"});

        const QString file = fixture->path("overdue.xlsx");
        FileDialogs::queueAnswer(file);
        Driver::box<QPushButton>(screen, "BitBtn2")->click();
        QCOMPARE(FileDialogs::lastProposed(), QString("读者逾期报表"));
        const QList<QStringList> sheet = XlsxSheet::read(file).rows;
        QCOMPARE(sheet.size(), 2);
        QCOMPARE(sheet[0], (QStringList{"借阅卡号", "图书名称", "借阅日期", "借书经手人",
                                        "应还书日期", "续借次数"}));
        QCOMPARE(sheet[1].value(0), QString("2002"));
        delete screen;
    }
};

LIBRARY_TEST(DzjycxTest)
#include "dzjycxtest.moc"
