#include "catalogue/tssgl.h"
#include "catalogue/tssxx.h"
#include "catalogue/xgccd.h"
#include "data/sql.h"
#include "fixture.h"
#include "pickers/tsxx.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

// Room management in its grid, and moving books between rooms.
class TssglTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList rooms()
    {
        QStringList rows;
        Sql q("select * from tssxxk order by tssbh");
        q.exec();
        while (q.next())
            rows << q.text("tssbh") + "/" + q.text("tssmc");
        return rows;
    }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }
    // Types into the open editor of the grid and presses Enter in it.
    static void typeInCell(QTableView* grid, const QString& text)
    {
        QTRY_VERIFY(grid->indexWidget(grid->currentIndex()));
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    static QString roomOf(const QString& barcode)
    {
        return Sql::scalar("select scddbh from tszk where txm=:a", {barcode}).toString();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2020-01-01')");
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('02','二室','2020-01-01')");
        Sql::run("insert into tszk(txm,tsmc,pyzjh,scddbh,bs) values"
                 "('A1','三国演义','SGYY','01',1),('A2','三体','ST','01',1),"
                 "('B1','红楼梦','HLM','02',1)");
    }
    void cleanup() { fixture.reset(); }

    void addingChecksEachValueAtEnterAndGoesOnToTheNextRoom()
    {
        Ttssglfm screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto* grid = screen.findChild<QTableView*>("DBGrid1");
        screen.findChild<QPushButton*>("BitBtn1")->click();
        typeInCell(grid, "01");
        QCOMPARE(shown(), QStringList{"提示:该图书室的编号已经存在，请确定后重新输入"});
        QCOMPARE(grid->currentIndex().column(), 0);
        typeInCell(grid, "03");
        QCOMPARE(grid->currentIndex().column(), 1);
        typeInCell(grid, "二室");
        QCOMPARE(shown(), QStringList{"提示:该图书室名称已经存在，请确定后重新输入"});
        typeInCell(grid, "三室");
        QCOMPARE(shown(), QStringList());
        QCOMPARE(rooms(), QStringList({"01/一室", "02/二室", "03/三室"}));
        QCOMPARE(Sql::scalar("select slrq from tssxxk where tssbh='03'").toString(),
                 QString("2026-12-09"));
        // A new row is waiting; Save with it empty asks for the number.
        QCOMPARE(grid->currentIndex().row(), 3);
        screen.findChild<QPushButton*>("BitBtn4")->click();
        QCOMPARE(shown(), QStringList{"保存提示:您必须输入新增的图书室编号！"});
        screen.findChild<QPushButton*>("BitBtn2")->click(); // drops the empty new row
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(screen.mode(), Ttssglfm::Mode::Browsing);
        screen.findChild<QPushButton*>("BitBtn4")->click();
        QCOMPARE(shown(), QStringList{"保存提示:没有数据需要保存。"});
    }

    void changingARoomNumberTakesItsBooksAlong()
    {
        Ttssglfm screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto* grid = screen.findChild<QTableView*>("DBGrid1");
        grid->setCurrentIndex(grid->model()->index(0, 0));
        screen.findChild<QPushButton*>("BitBtn3")->click();
        typeInCell(grid, "02"); // another room's number
        QCOMPARE(shown(), QStringList{"提示:该图书室的编号已经存在，请确定后重新输入"});
        typeInCell(grid, "01"); // its own number is fine
        QCOMPARE(shown(), QStringList());
        QTRY_VERIFY(grid->indexWidget(grid->currentIndex()));
        grid->model()->setData(grid->model()->index(0, 0), "11");
        grid->model()->setData(grid->model()->index(0, 1), "一号室");
        screen.findChild<QPushButton*>("BitBtn4")->click();
        QCOMPARE(shown(), QStringList());
        QCOMPARE(rooms(), QStringList({"02/二室", "11/一号室"}));
        QCOMPARE(roomOf("A1"), QString("11"));
        QCOMPARE(roomOf("B1"), QString("02"));
    }

    void deletingARoomWithBooksIsRefused()
    {
        Sql::run("insert into tssxxk(tssbh,tssmc) values('03','空室')");
        Ttssglfm screen;
        screen.show();
        auto* grid = screen.findChild<QTableView*>("DBGrid1");
        grid->setCurrentIndex(grid->model()->index(0, 0));
        screen.findChild<QPushButton*>("BitBtn2")->click();
        QCOMPARE(shown(), QStringList{"删除提示:该图书室中还存放着2种图书，不能删除！\n"
                                      "请先把这些图书调整到其他图书室。"});
        grid->setCurrentIndex(grid->model()->index(2, 0));
        Messages::queueAnswer(true);
        screen.findChild<QPushButton*>("BitBtn2")->click();
        QCOMPARE(shown(), QStringList{"删除提示:确定要删除本图书室吗?"});
        QCOMPARE(rooms(), QStringList({"01/一室", "02/二室"}));
        QCOMPARE(grid->model()->rowCount(), 2);
    }

    void roomListShowsRoomsByNumber()
    {
        Ttssxxfm list;
        QVERIFY(!list.isEmpty());
        QCOMPARE(list.firstNumber(), QString("01"));
    }

    void relocationOfOneBookThroughThePicker()
    {
        Tgbccdfm screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto* book = screen.findChild<QLineEdit*>("Edit1");
        auto* before = screen.findChild<QComboBox*>("ComboBox1");
        auto* after = screen.findChild<QComboBox*>("ComboBox2");
        QVERIFY(book->hasFocus());

        // Two books contain 三: the picker chooses.
        typeText(book, "三");
        QTimer::singleShot(0, this, [] {
            auto* picker = qobject_cast<Ttsxxfm*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            auto* grid = picker->findChild<QTableView*>("DBGrid1");
            for (int row = 0; row < grid->model()->rowCount(); ++row)
                if (grid->model()->index(row, 0).data().toString() == "A2")
                    grid->selectRow(row);
            picker->accept();
        });
        QTest::keyClick(book, Qt::Key_Return);
        QCOMPARE(book->text(), QString("A2"));

        // One match goes straight in.
        book->setText("红楼");
        QTest::keyClick(book, Qt::Key_Return);
        QCOMPARE(book->text(), QString("B1"));
        QCOMPARE(screen.focusWidget(), static_cast<QWidget*>(before));
        before->setCurrentIndex(0); // 一室
        emit before->activated(0);
        QCOMPARE(shown(), QStringList{"提示:该图书室中没有此图书，请确定后重新输入。"});

        book->setText("无此书");
        QTest::keyClick(book, Qt::Key_Return);
        QCOMPARE(shown(), QStringList{"查询提示:没有您所查询的图书信息！"});

        book->setText("A1");
        after->setCurrentIndex(1);
        screen.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"修改提示:恭喜您！图书藏储地点修改成功。"});
        QCOMPARE(roomOf("A1"), QString("02"));
        // Not in the room before any more: refused, not reported as done.
        screen.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"提示:该图书室中没有此图书，请确定后重新输入。"});
    }

    void relocationOfAWholeRoom()
    {
        Tgbccdfm screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        screen.findChild<QRadioButton*>("RadioButton2")->setChecked(true);
        QVERIFY(!screen.findChild<QLineEdit*>("Edit1")->isEnabled());
        QVERIFY(screen.findChild<QComboBox*>("ComboBox1")->hasFocus());
        screen.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"提示:您必须输入需要调整图书室名称！"});
        screen.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
        screen.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(1);
        screen.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"修改提示:恭喜您！图书藏储地点修改成功。"});
        QCOMPARE(Fixture::count("select count(*) from tszk where scddbh='02'"), 3);
    }
};

LIBRARY_TEST(TssglTest)
#include "tssgltest.moc"
