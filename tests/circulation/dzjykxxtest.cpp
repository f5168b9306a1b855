#include "pickers/dzjykxx.h"
#include "driver.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The card picker: the matching valid cards, a filter over every card, and an answer
// however it is closed.
class DzjykxxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static void card(const QString& number, const QString& name, const QString& valid = "Y")
    {
        Seed::CardRow row;
        row.number = number;
        row.name = name;
        row.valid = valid;
        Seed::card(row);
    }
    static QStringList listed(Tdzjykxxfm& picker)
    {
        auto* grid = Driver::box<QTableView>(&picker, "DBGrid1");
        QStringList rows;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            rows << grid->model()->index(row, 0).data().toString() + "/" +
                        grid->model()->index(row, 2).data().toString() + "/" +
                        grid->model()->index(row, 4).data().toString();
        return rows;
    }
    static void filter(Tdzjykxxfm& picker, const QString& text)
    {
        auto* box = Driver::box<QLineEdit>(&picker, "Edit1");
        box->setFocus();
        box->selectAll();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        card("1002", "李四");
        card("1001", "张三");
        card("1003", "李五", "N");
        card("2001", "王五");
    }
    void cleanup() { fixture.reset(); }

    void listsTheValidCardsThenFiltersEveryCard()
    {
        Tdzjykxxfm picker("100");
        picker.show();
        QCOMPARE(listed(picker), (QStringList{"1001/张三/Y", "1002/李四/Y"}));
        const QStringList titles{"借阅卡号", "卡等级", "读者名", "办卡日期", "是否有效"};
        auto* model = Driver::box<QTableView>(&picker, "DBGrid1")->model();
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(model->headerData(i, Qt::Horizontal).toString(), titles[i]);
        filter(picker, "李");
        QCOMPARE(listed(picker), (QStringList{"1002/李四/Y", "1003/李五/N"}));
        filter(picker, "2");
        QCOMPARE(listed(picker), QStringList{"2001/王五/Y"});
        // Case counts, and an emptied filter leaves the list alone.
        Driver::box<QLineEdit>(&picker, "Edit1")->clear();
        QCOMPARE(listed(picker), QStringList{"2001/王五/Y"});
        QCOMPARE(Tdzjykxxfm(QString()).findChild<QTableView*>("DBGrid1")->model()->rowCount(), 3);
    }

    void everyWayOfClosingAnswersTheCardUnderTheCursor_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("ok") << "ok";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close button") << "close";
        QTest::newRow("enter in the list") << "enter";
        QTest::newRow("double-click") << "double";
    }
    void everyWayOfClosingAnswersTheCardUnderTheCursor()
    {
        QFETCH(QString, how);
        Tdzjykxxfm picker("100");
        picker.show();
        QApplication::setActiveWindow(&picker);
        auto* grid = Driver::box<QTableView>(&picker, "DBGrid1");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 0));
        if (how == "ok")
            Driver::box<QPushButton>(&picker, "BitBtn1")->click();
        else if (how == "escape")
            QTest::keyClick(grid, Qt::Key_Escape);
        else if (how == "close")
            picker.close();
        else if (how == "enter")
            QTest::keyClick(grid, Qt::Key_Return);
        else
            emit grid->doubleClicked(grid->currentIndex());
        QVERIFY(!picker.isVisible());
        QCOMPARE(picker.chosenNumber(), QString("1002"));
    }
};

LIBRARY_TEST(DzjykxxTest)
#include "dzjykxxtest.moc"
