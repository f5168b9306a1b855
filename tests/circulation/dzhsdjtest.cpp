#include "circulation/dzhsdj.h"
#include "app/appcommands.h"
#include "circulation/dzshfk.h"
#include "circulation/yqfkdj.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/dzjykxx.h"
#include "reports/reportoutput.h"
#include "seed.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
const QDate today = Fixture::today();

// A card with open loans, the first due `dueIn` days from today.
void readerWithLoans(const QString& card, const QList<QPair<QString, int>>& loans)
{
    Seed::CardRow row;
    row.number = card;
    row.name = "读者" + card;
    row.openLoans = static_cast<int>(loans.size());
    Seed::card(row);
    for (const auto& [barcode, dueIn] : loans) {
        if (Fixture::count("select count(*) from tszk where txm=:t", {barcode}) == 0) {
            Seed::BookRow book;
            book.barcode = barcode;
            book.title = "书" + barcode;
            book.lent = 1;
            book.state = "C";
            Seed::book(book);
        }
        Seed::loan(card, barcode, today.addDays(dueIn - 30), today.addDays(dueIn));
    }
}

// Confirms the fine dialog with the amount as proposed (or `amount`), answering `yes`.
std::function<void(QWidget*)> confirmFine(bool yes, const QString& amount = QString(),
                                          QString* proposed = nullptr)
{
    return [=](QWidget* dialog) {
        auto* box = Driver::box<QLineEdit>(dialog, "Edit3");
        if (proposed)
            *proposed = box->text();
        if (!amount.isEmpty())
            box->setText(amount);
        Messages::queueAnswer(yes);
        Driver::box<QPushButton>(dialog, "BitBtn1")->click();
    };
}
} // namespace

// The returning screen as the operator uses it: a card, a row, Return or Renew, the fine
// dialogs on the way and the running total in the status bar.
class DzhsdjTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    Tdzhsdjfm* screen = nullptr;

    QLineEdit* card() { return Driver::box<QLineEdit>(screen, "Edit1"); }
    QTableView* list() { return Driver::box<QTableView>(screen, "DBGrid1"); }
    QPushButton* returnButton() { return Driver::box<QPushButton>(screen, "BitBtn1"); }
    QPushButton* renewButton() { return Driver::box<QPushButton>(screen, "BitBtn4"); }
    QString total() { return Driver::box<QLabel>(screen, "panel2")->text(); }
    QString listed(int row, int column)
    {
        return list()->model()->index(row, column).data().toString();
    }

    void enterCard(const QString& number)
    {
        card()->clear();
        Driver::type(card(), number, true);
    }
    // Returns the loan on `row`, driving the overdue fine dialog with `fine` if it opens.
    bool returnRow(int row, const std::function<void(QWidget*)>& fine = {})
    {
        list()->selectRow(row);
        if (!fine) {
            returnButton()->click();
            return false;
        }
        return Driver::whileModal("Tyqfkdjfm", fine, [this] { returnButton()->click(); });
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
        Seed::grade();
        screen = Driver::openScreen<Tdzhsdjfm>("dzhsdj");
        QVERIFY(screen);
        Driver::shown();
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void cardEntryListsTheOpenLoansOrSaysThereAreNone()
    {
        enterCard("");
        QCOMPARE(Driver::shown(),
                 QStringList{"还书提示:您必须输入读者的借阅卡号才能登记该读者的还书！"});
        enterCard("9");
        QCOMPARE(Driver::shown(), QStringList{"还书提示:没有该借书证号！请确定后重新输入。"});

        Seed::CardRow idle;
        idle.number = "1002";
        Seed::card(idle);
        enterCard("1002");
        QCOMPARE(Driver::shown(), QStringList{"提示信息:该读者没有借书!"});
        QVERIFY(!returnButton()->isEnabled());
        QVERIFY(!renewButton()->isEnabled());

        readerWithLoans("2001", {{"B1", 5}, {"B2", 9}});
        enterCard("200");
        QCOMPARE(Driver::shown(), QStringList());
        QCOMPARE(card()->text(), QString("2001"));
        QCOMPARE(Driver::box<QLineEdit>(screen, "Edit4")->text(), QString("读者2001"));
        QCOMPARE(Driver::box<QLineEdit>(screen, "Edit6")->text(), QString("A"));
        QCOMPARE(list()->model()->rowCount(), 2);
        QCOMPARE(listed(0, 0), QString("B1"));
        QCOMPARE(listed(0, 1), QString("书B1"));
        QCOMPARE(listed(0, 3), today.addDays(5).toString("yyyy-MM-dd"));
        QVERIFY(returnButton()->isEnabled());
        QCOMPARE(Driver::box<QLabel>(screen, "panel1")->text(), QString("借阅卡号：2001罚款合计"));
        QCOMPARE(total(), QString("0"));

        // Nothing is selected yet: the operator must pick the loan.
        returnButton()->click();
        QCOMPARE(Driver::shown(), QStringList{"图书馆管理系统:请先选择一条记录！"});
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where hsjsr is null"), 2);
    }

    void returnClosesOnlyTheSelectedLoan()
    {
        readerWithLoans("2001", {{"B1", 5}, {"B2", 9}});
        enterCard("2001");
        returnRow(1);
        QCOMPARE(Driver::shown(), QStringList{"保存提示:您输入的还书信息已经保存成功了！"});
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where txm='B2' and hsjsr is null"),
                 0);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where txm='B1' and hsjsr is null"),
                 1);
        QCOMPARE(list()->model()->rowCount(), 1);
        QCOMPARE(listed(0, 0), QString("B1"));
        QVERIFY(list()->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(Sql::scalar("select jsbs from cardk").toInt(), 1);
        QCOMPARE(Sql::scalar("select tszt from tszk where txm='B2'").toString(), QString("W"));
    }

    void confirmedFinesAddUpAcrossCards()
    {
        readerWithLoans("2001", {{"B1", -3}});
        readerWithLoans("2002", {{"B2", -4}});
        enterCard("2001");
        QString proposed;
        QVERIFY(returnRow(0, confirmFine(true, QString(), &proposed)));
        QCOMPARE(proposed, QString("1.5"));
        QCOMPARE(Driver::shown(), (QStringList{"提示信息:确认罚此金额?",
                                               "保存提示:您输入的还书信息已经保存成功了！"}));
        QCOMPARE(total(), QString("1.5"));
        enterCard("2002");
        QVERIFY(returnRow(0, confirmFine(true)));
        QCOMPARE(total(), QString("3.5"));
        QCOMPARE(screen->fineTotal(), Money::fromText("3.5"));
        QCOMPARE(Fixture::count("select count(*) from cwk where szyy='逾期罚款金额'"), 2);
        QVERIFY(ReportOutput::takeRequests().isEmpty()); // printing is off
    }

    void declinedFineReturnsTheBookAndAddsNothing()
    {
        readerWithLoans("2001", {{"B1", -3}});
        enterCard("2001");
        QVERIFY(returnRow(0, confirmFine(false, "2")));
        QCOMPARE(total(), QString("0"));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk where je=2"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where hsjsr is null"), 0);
    }

    void damagedReturnTakesTheDamageFineAndPrintsBothBills()
    {
        readerWithLoans("2001", {{"B1", -2}});
        enterCard("2001");
        QDir().mkpath(fixture->path("reports"));
        Driver::box<QCheckBox>(screen, "cb1")->setChecked(true);
        Driver::box<QComboBox>(screen, "ComboBox1")->setCurrentText("Y");
        list()->selectRow(0);
        bool damageSeen = false;
        const auto damage = [&](QWidget* dialog) {
            auto* amount = Driver::box<QLineEdit>(dialog, "Edit1");
            auto* ok = Driver::box<QPushButton>(dialog, "BitBtn1");
            amount->setText("abc");
            ok->click();
            amount->setText("8");
            ok->click();
            Driver::box<QPushButton>(dialog, "BitBtn2")->click();
        };
        damageSeen = Driver::whileModal("Tdzshfkfm", damage, [&] {
            QVERIFY(Driver::whileModal("Tyqfkdjfm", confirmFine(true),
                                       [&] { returnButton()->click(); }));
        });
        QVERIFY(damageSeen);
        QCOMPARE(Driver::shown(), (QStringList{"提示信息:确认罚此金额?",
                                               "提示:您输入的罚款金额不为数字，请确定后重新输入。",
                                               "提示:您输入的罚款金额已经保存成功！。",
                                               "提示信息:该读者的逾期罚款单已送打印！",
                                               "保存提示:您输入的还书信息已经保存成功了！"}));
        const auto printed = ReportOutput::takeRequests();
        QCOMPARE(printed.size(), 2);
        for (const ReportOutput::Request& bill : printed) {
            QCOMPARE(bill.kind, ReportOutput::Request::Kind::Print);
            QCOMPARE(bill.pages, 1);
            QVERIFY(QFile::exists(bill.pdf));
            if (qEnvironmentVariableIsSet("KEEP_BILLS"))
                QFile::copy(bill.pdf, "/tmp/" + QFileInfo(bill.pdf).fileName());
        }
        QCOMPARE(Fixture::count("select count(*) from cwk where szyy='读者损坏罚款' and srje=8"),
                 1);
        QCOMPARE(Sql::scalar("select sfsh from tszk").toString(), QString("Y"));
        QCOMPARE(Sql::scalar("select sfsh from dzjsmxk").toString(), QString("Y"));
    }

    // "Damaged" is said of one return: the next book is taken back undamaged.
    void theDamageBoxGoesBackAfterAReturn()
    {
        readerWithLoans("2001", {{"B1", 5}, {"B2", 5}});
        enterCard("2001");
        auto* damaged = Driver::box<QComboBox>(screen, "ComboBox1");
        damaged->setCurrentText("Y");
        list()->selectRow(0);
        const QString first = listed(0, 0);
        QVERIFY(Driver::whileModal(
            "Tdzshfkfm",
            [](QWidget* dialog) { Driver::box<QPushButton>(dialog, "BitBtn2")->click(); },
            [this] { returnButton()->click(); }));
        QCOMPARE(damaged->currentText(), QString("N"));
        list()->selectRow(0);
        const QString second = listed(0, 0);
        QVERIFY(!Driver::whileModal(
            "Tdzshfkfm",
            [](QWidget* dialog) { Driver::box<QPushButton>(dialog, "BitBtn2")->click(); },
            [this] { returnButton()->click(); }, 300));
        Driver::shown();
        QCOMPARE(Sql::scalar("select sfsh from dzjsmxk where txm=:t", {first}).toString(),
                 QString("Y"));
        QCOMPARE(Sql::scalar("select sfsh from dzjsmxk where txm=:t", {second}).toString(),
                 QString("N"));
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where hsjsr is null"), 0);
    }

    void renewalKeepsTheLoanListedUntilNoRenewalIsLeft()
    {
        readerWithLoans("2001", {{"B1", 4}});
        enterCard("2001");
        list()->selectRow(0);
        Messages::queueAnswer(true);
        renewButton()->click();
        QCOMPARE(Driver::shown(), (QStringList{"续借提示:您确定要续借这本书吗？",
                                               "保存提示:您输入的续借信息已经保存成功了！"}));
        QCOMPARE(list()->model()->rowCount(), 1);
        QCOMPARE(listed(0, 3), today.addDays(34).toString("yyyy-MM-dd"));
        list()->selectRow(0);
        Messages::queueAnswer(true);
        renewButton()->click();
        QCOMPARE(Driver::shown(),
                 (QStringList{"续借提示:您确定要续借这本书吗？",
                              "保存提示:该读者的这本图书不能再续借！\n该读者必须归还此书。"}));
        QCOMPARE(Sql::scalar("select xjcs from dzjsmxk").toInt(), 1);
        // Cancel on the question changes nothing.
        list()->selectRow(0);
        Messages::queueAnswer(false);
        renewButton()->click();
        QCOMPARE(Driver::shown(), QStringList{"续借提示:您确定要续借这本书吗？"});
        QVERIFY(returnButton()->isEnabled());
    }

    void overdueRenewalOffersTheFineFirst()
    {
        readerWithLoans("2001", {{"B1", -2}});
        enterCard("2001");
        list()->selectRow(0);
        Messages::queueAnswer(true);
        QVERIFY(
            Driver::whileModal("Tyqfkdjfm", confirmFine(true), [this] { renewButton()->click(); }));
        QCOMPARE(total(), QString("1"));
        QCOMPARE(listed(0, 3), today.addDays(30).toString("yyyy-MM-dd"));
    }
};

LIBRARY_TEST(DzhsdjTest)
#include "dzhsdjtest.moc"
