#include "circulation/xssj.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// The shelving screen: scan, pick the shelf, Enter.
class XssjTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Txssjfm> screen;

    void open()
    {
        screen = new Txssjfm;
        screen->show();
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    QLineEdit* barcode() { return screen->findChild<QLineEdit*>("Edit1"); }
    QLineEdit* title() { return screen->findChild<QLineEdit*>("Edit2"); }
    QComboBox* shelf() { return screen->findChild<QComboBox*>("ComboBox1"); }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.caption + ":" + shown.text;
        return texts;
    }
    static QString shelfOf(const QString& txm)
    {
        return Sql::scalar("select fsjh from tszk where txm=:t", {txm}).toString();
    }
    void scan(const QString& code)
    {
        barcode()->setFocus();
        barcode()->selectAll();
        QTest::keyClicks(barcode(), code);
        QTest::keyClick(barcode(), Qt::Key_Return);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into tszk(txm,tsmc,fsjh,bs,jcs) values('B1','红楼梦','A01',2,0)");
        Sql::run("insert into tszk(txm,tsmc,bs,jcs) values('B2','水浒传',1,0)");
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void scanPickAndEnter()
    {
        open();
        QCOMPARE(QApplication::focusWidget(), barcode());
        QStringList items;
        for (int i = 0; i < shelf()->count(); ++i)
            items << shelf()->itemText(i);
        QCOMPARE(items, (QStringList{"", "A01"}));

        scan("B1");
        QCOMPARE(title()->text(), QString("红楼梦"));
        QCOMPARE(shelf()->currentText(), QString("A01"));
        QCOMPARE(QApplication::focusWidget(), shelf());
        shelf()->lineEdit()->selectAll();
        QTest::keyClicks(shelf()->lineEdit(), "C0012345"); // the box takes six bytes
        QCOMPARE(shelf()->currentText(), QString("C00123"));
        Sql::run("update tszk set jcs=1 where txm='B1'"); // lent meanwhile
        QTest::keyClick(shelf()->lineEdit(), Qt::Key_Return);
        QCOMPARE(shownTexts(), QStringList{"保存信息:您已经将新书的放书架号登记成功！"});
        QCOMPARE(shelfOf("B1"), QString("C00123"));
        QCOMPARE(Fixture::count("select count(*) from tszk where txm='B1' and jcs=1"), 1);
        QCOMPARE(barcode()->text() + title()->text() + shelf()->currentText(), QString());
        QCOMPARE(QApplication::focusWidget(), barcode());
    }

    void nothingIsWrittenWithoutALookedUpBook()
    {
        open();
        scan("B9");
        QCOMPARE(shownTexts(), QStringList{"提示:没有您所查询的图书资料！"});
        QCOMPARE(QApplication::focusWidget(), barcode());
        // Enter with empty boxes does nothing.
        shelf()->setFocus();
        shelf()->setEditText("A05");
        QTest::keyClick(shelf()->lineEdit(), Qt::Key_Return);
        QCOMPARE(shownTexts(), QStringList());

        // A barcode changed after the look-up is not the book shown: nothing is written.
        scan("B1");
        barcode()->setFocus();
        barcode()->selectAll();
        QTest::keyClicks(barcode(), "B2");
        QCOMPARE(title()->text(), QString());
        shelf()->setFocus();
        shelf()->setEditText("A05");
        QTest::keyClick(shelf()->lineEdit(), Qt::Key_Return);
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(shelfOf("B1"), QString("A01"));
        QCOMPARE(shelfOf("B2"), QString());
    }
};

LIBRARY_TEST(XssjTest)
#include "xssjtest.moc"
