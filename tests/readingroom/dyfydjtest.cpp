#include "readingroom/dyfydj.h"
#include "data/sql.h"
#include "fixture.h"
#include "readingroom/qkcx.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The lending screen: finding the issue, the reader and the photograph, lending and
// taking back.
class DyfydjTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Tdyfydjfm> screen;

    void open()
    {
        screen = new Tdyfydjfm;
        screen->show();
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    QLineEdit* edit(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QComboBox* type() { return screen->findChild<QComboBox*>("ComboBox1"); }
    bool photoShown() { return !screen->findChild<QLabel*>("Image1")->pixmap().isNull(); }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.caption + ":" + shown.text;
        return texts;
    }
    QString boxes()
    {
        QStringList texts;
        for (const char* name : {"Edit7", "Edit1", "Edit2", "Edit3", "Edit6", "Edit4", "Edit5"})
            texts << edit(name)->text();
        return type()->currentText() + "/" + texts.join("/");
    }
    static void periodical(const QString& name, const QString& issue, const QString& mnemonic)
    {
        Sql::run("insert into zzqk(mc,kh,cbrq,lx,cbsmc,pyzjh) values(:a,:b,:c,:d,:e,:f)",
                 {name, issue, "2026-11-01", "杂志", "读者出版社", mnemonic});
    }
    void card(const QString& number, const QString& name, const QString& lost, const QString& photo)
    {
        Sql::run("insert into cardk(kno,kdj,dzm,strpath) values(:a,:b,:c,:d)",
                 {number, "A", name, photo});
        Sql::run("insert into gsb(kno,kdj,dzm,gsbz) values(:a,:b,:c,:d)",
                 {number, "A", name, lost});
    }
    void enterCard(const QString& number)
    {
        edit("Edit4")->setFocus();
        edit("Edit4")->clear();
        QTest::keyClicks(edit("Edit4"), number);
        QTest::keyClick(edit("Edit4"), Qt::Key_Return);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        QImage picture(40, 50, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(fixture->path("photo.bmp"), "BMP"));
        card("001", "张三", "否", fixture->path("photo.bmp"));
        card("002", "李四", "是", fixture->path("photo.bmp"));
        card("003", "王五", "否", fixture->path("missing.bmp"));
    }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void theCardLookUpShowsTheReaderOrRefuses()
    {
        open();
        QCOMPARE(QApplication::focusWidget(), type());
        enterCard("001");
        QCOMPARE(edit("Edit5")->text(), QString("张三"));
        QVERIFY(photoShown());
        QCOMPARE(QApplication::focusWidget(), screen->findChild<QPushButton*>("BitBtn1"));

        enterCard("002");
        QCOMPARE(shownTexts(), QStringList{"图书馆管理系统:此借书证已经挂失,不能借书"});
        QCOMPARE(edit("Edit4")->text(), QString());
        QVERIFY(!photoShown());

        enterCard("001");
        enterCard("009");
        QCOMPARE(shownTexts(), QStringList{"提示信息:此借阅证未登记，请重新输入！"});
        QCOMPARE(edit("Edit4")->text(), QString());
        QVERIFY(!photoShown());
        QCOMPARE(screen->focusWidget(),
                 edit("Edit4")); // the window gets it back with the activation

        enterCard("003"); // a photograph file that is gone is no error
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(edit("Edit5")->text(), QString("王五"));
        QVERIFY(!photoShown());
    }

    void severalMatchesOpenTheListAndTheChoiceFillsTheBoxes()
    {
        periodical("读者", "1", "DZ");
        periodical("读者", "2", "DZ");
        open();
        QTest::keyClick(type(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit("Edit7"));
        QTest::keyClicks(edit("Edit7"), "D");
        bool listed = false;
        QTimer::singleShot(0, [&] {
            auto* list = qobject_cast<TFormqkcx*>(QApplication::activeModalWidget());
            if (!list)
                return;
            listed = true;
            auto* grid = list->findChild<QTableView*>("DBGrid1");
            QCOMPARE(grid->model()->rowCount(), 2);
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Return);
        });
        QTest::keyClick(edit("Edit7"), Qt::Key_Return);
        QVERIFY(listed);
        QCOMPARE(boxes(), QString("杂志/DZ/读者/2/2026-11-01/读者出版社//"));
        QCOMPARE(screen->focusWidget(),
                 edit("Edit4")); // the window gets it back with the activation

        // A mnemonic that finds nothing empties the boxes, the date box too.
        edit("Edit7")->setText("X");
        screen->findChild<QPushButton*>("BitBtn4")->click();
        QCOMPARE(boxes(), QString("杂志///////"));
        type()->setCurrentIndex(-1);
        screen->findChild<QPushButton*>("BitBtn4")->click();
        QCOMPARE(shownTexts(), QStringList{"图书馆管理系统:类型不能为空！"});
    }

    void lendingAndReturningByKeyboard()
    {
        periodical("读者", "1", "DZ");
        open();
        QTest::keyClick(type(), Qt::Key_Return);
        QTest::keyClicks(edit("Edit7"), "DZ");
        QTest::keyClick(edit("Edit7"), Qt::Key_Return); // one match: filled at once
        QCOMPARE(shownTexts(), QStringList());
        QTest::keyClicks(edit("Edit4"), "001");
        QTest::keyClick(edit("Edit4"), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // on 借阅&O
        QCOMPARE(shownTexts(), QStringList{"图书馆管理系统:借阅完成！"});
        QCOMPARE(Fixture::count("select count(*) from zzqkztk where kno='001' and dzm='张三' and "
                                "mc='读者' and kh='1' and jyrq='2026-12-09'"),
                 1);
        // The mnemonic and the publisher stay for the next reader.
        QCOMPARE(boxes(), QString("/DZ////读者出版社//"));

        edit("Edit1")->setText("读者");
        edit("Edit2")->setText("1");
        screen->findChild<QPushButton*>("BitBtn2")->click();
        QCOMPARE(shownTexts(), QStringList{"提示信息:归还完成!"});
        QCOMPARE(boxes(), QString("///////"));
        QCOMPARE(Fixture::count("select count(*) from zzqkztk"), 0);
    }

    void altOFromAChangedCardBoxLooksTheNewCardUp()
    {
        periodical("读者", "1", "DZ");
        open();
        edit("Edit1")->setText("读者");
        edit("Edit2")->setText("1");
        edit("Edit3")->setText("2026-11-01");
        enterCard("001");
        edit("Edit4")->setFocus();
        edit("Edit4")->selectAll();
        QTest::keyClicks(edit("Edit4"), "002");              // lost; the name box still says 张三
        screen->findChild<QPushButton*>("BitBtn1")->click(); // as Alt+O: the box is not left
        QCOMPARE(QApplication::focusWidget(), edit("Edit4"));
        QCOMPARE(shownTexts(), QStringList{"图书馆管理系统:此借书证已经挂失,不能借书"});
        QCOMPARE(Fixture::count("select count(*) from zzqkztk"), 0);
    }
};

LIBRARY_TEST(DyfydjTest)
#include "dyfydjtest.moc"
