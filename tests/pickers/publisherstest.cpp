#include "desk/publishers.h"
#include "data/sql.h"
#include "fixture.h"
#include "pickers/cbsxx.h"
#include "pickers/cbsxxcx.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {
// Types text as a keyboard would, one character at a time (Chinese included).
void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
} // namespace

// The publisher lists: cataloguing's look-up with its detail view, and the periodicals
// register's query that can delete.
class PublishersTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static qint64 addPublisher(const QString& name, const QString& mnemonic,
                               const QString& address = QString(),
                               const QString& contact = QString())
    {
        Sql q("insert into cbsxxk(pyzjh,cbsmc,cbsdz,lxr,lxdh,yzbm,EMail) "
              "values(:a,:b,:c,:d,:e,:f,:g)");
        q.bind(mnemonic)
            .bind(name)
            .bind(address)
            .bind(contact)
            .bind("010-1")
            .bind("100000")
            .bind("a@b.cn")
            .exec();
        return q.lastInsertId().toLongLong();
    }
    static QStringList listed(QTableView* grid, int column = 1)
    {
        QStringList names;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            names << grid->model()->index(row, column).data().toString();
        return names;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        addPublisher("人民文学出版社", "RMWXCBS");
        addPublisher("北京人民出版社", "BJRMCBS");
        addPublisher("人民教育出版社", "RMJYCBS");
        addPublisher("科学出版社", "KXCBS");
    }
    void cleanup() { fixture.reset(); }

    void queryListsByNamePrefixInNameOrder()
    {
        TFormcbsxxcx query;
        query.show();
        auto* grid = query.findChild<QTableView*>("DBGrid1");
        auto* box = query.findChild<QLineEdit*>("Edit1");
        QCOMPARE(listed(grid).size(), 4);
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("拼音助记符"));

        typeText(box, "人民");
        // Only names that begin with 人民, in name order.
        QCOMPARE(listed(grid), QStringList({"人民教育出版社", "人民文学出版社"}));

        // The mnemonic is shown, not searched; a quote is only a character.
        for (const QString& text : {QString("RM"), QString("人'")}) {
            box->setText(text);
            QCOMPARE(listed(grid), QStringList());
        }
        // Emptying the box leaves the list as it is.
        box->setText("科");
        box->clear();
        QCOMPARE(listed(grid), QStringList{"科学出版社"});
        QCOMPARE(Messages::takeShown().size(), 0);
    }

    void deleteRemovesTheSelectedRowAtOnce()
    {
        Sql::run("insert into tszk(txm,tsmc,cbsmc) values(:a,:b,:c)",
                 {"B1", "书", "人民教育出版社"});
        TFormcbsxxcx query;
        query.show();
        auto* grid = query.findChild<QTableView*>("DBGrid1");
        typeText(query.findChild<QLineEdit*>("Edit1"), "人民");
        const int row = listed(grid).indexOf("人民教育出版社");
        grid->selectRow(row);
        query.findChild<QPushButton*>("Button4")->click();
        QCOMPARE(Messages::takeShown().size(), 0); // no question
        QCOMPARE(listed(grid), QStringList{"人民文学出版社"});
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 3);
        QCOMPARE(Fixture::count("select count(*) from tszk where cbsmc='人民教育出版社'"), 1);
    }

    void queryAnswersWithTheRowAndWhetherConfirmed()
    {
        {
            TFormcbsxxcx query;
            query.show();
            auto* grid = query.findChild<QTableView*>("DBGrid1");
            typeText(query.findChild<QLineEdit*>("Edit1"), "科");
            QTest::keyClick(grid, Qt::Key_Return);
            QVERIFY(query.confirmed());
            QCOMPARE(query.name(), QString("科学出版社"));
            QCOMPARE(query.mnemonic(), QString("KXCBS"));
        }
        {
            TFormcbsxxcx query;
            query.show();
            query.findChild<QPushButton*>("Button3")->click();
            QVERIFY(!query.confirmed());
        }
    }

    void lookUpListsNamesContainingTheTextAndShowsTheChosenDetails()
    {
        const qint64 second = addPublisher("人民文学出版社", "RMWXCBS", "上海", "李四");
        Tcbsxxfm list("人民");
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        auto* grid = list.findChild<QTableView*>("DBGrid1");
        QCOMPARE(listed(grid, 0).size(), 4); // contains: 北京人民出版社 too, and both namesakes
        QVERIFY(Tcbsxxfm("不存在").isEmpty());

        grid->selectRow(listed(grid, 2).indexOf("上海"));
        QCOMPARE(list.name(), QString("人民文学出版社"));
        QCOMPARE(list.selectedIid(), second);

        QString address;
        QString contact;
        QTimer::singleShot(0, this, [&] {
            QWidget* details = QApplication::activeModalWidget();
            QVERIFY(details);
            address = details->findChild<QLineEdit*>("Edit2")->text();
            contact = details->findChild<QLineEdit*>("Edit3")->text();
            details->close();
        });
        QTest::keyClick(grid, Qt::Key_F8);
        QCOMPARE(address, QString("上海"));
        QCOMPARE(contact, QString("李四"));

        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(list.result(), int(QDialog::Accepted));
    }
};

LIBRARY_TEST(PublishersTest)
#include "publisherstest.moc"
