#include "pickers/tsxx.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
// Types text as a keyboard would, one character at a time (Chinese included).
void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
} // namespace

// The book picker: narrows the caller's list by the start of the mnemonic or title and
// by class, and answers with the book under the cursor however it is closed.
class TsxxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList barcodes(Ttsxxfm& picker)
    {
        auto* grid = picker.findChild<QTableView*>("DBGrid1");
        QStringList listed;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            listed << grid->model()->index(row, 0).data().toString();
        return listed;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        const QList<QStringList> books{
            {"T001", "三国演义", "SGYY", "I", "12.5"},
            {"T002", "红楼梦", "HLM", "I", "30"},
            {"T003", "三体", "ST", "J", "23"},
            {"T004", "数学分析", "SXFX", "O", "41"},
        };
        for (const QStringList& b : books)
            Sql::run("insert into tszk(txm,tsmc,pyzjh,flmc,tsjg,bs,jcs) "
                     "values(:a,:b,:c,:d,:e,2,0)",
                     {b[0], b[1], b[2], b[3], b[4].toDouble()});
        for (const char* code : {"I", "J", "O"})
            Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values(:a,:b,'0')",
                     {code, code});
    }
    void cleanup() { fixture.reset(); }

    void showsTheCallersListAndNarrowsByPrefix()
    {
        Ttsxxfm picker("select * from tszk where tsmc like:t order by txm", {"%"});
        picker.show();
        QCOMPARE(barcodes(picker), QStringList({"T001", "T002", "T003", "T004"}));
        auto* grid = picker.findChild<QTableView*>("DBGrid1");
        QCOMPARE(grid->model()->index(0, 3).data().toString(), QString("12.50"));
        auto* classes = picker.findChild<QComboBox*>("ComboBox1");
        QCOMPARE(classes->count(), 4); // an empty choice, then the root nodes
        QCOMPARE(classes->itemText(1), QString("I"));

        auto* box = picker.findChild<QLineEdit*>("Edit1");
        typeText(box, "三");
        const QStringList narrowed = barcodes(picker); // one list for both ends
        QCOMPARE(QSet<QString>(narrowed.begin(), narrowed.end()), QSet<QString>({"T001", "T003"}));
        box->clear();
        typeText(box, "S");
        QCOMPARE(barcodes(picker).size(), 3); // SGYY, ST, SXFX
        box->clear();
        typeText(box, "s"); // mnemonics are upper case and the match is case-sensitive
        QCOMPARE(barcodes(picker), QStringList());
        box->clear();
        typeText(box, "三'");
        QCOMPARE(barcodes(picker), QStringList());
        QCOMPARE(Messages::takeShown().size(), 0);
    }

    void queryFiltersByClassInClassOrder()
    {
        Ttsxxfm picker("select * from tszk", {});
        picker.show();
        auto* box = picker.findChild<QLineEdit*>("Edit1");
        auto* classes = picker.findChild<QComboBox*>("ComboBox1");
        auto* query = picker.findChild<QPushButton*>("Button1");
        box->setText("S");
        query->click();
        QCOMPARE(barcodes(picker), QStringList({"T001", "T003", "T004"})); // flmc I, J, O
        classes->setCurrentText("J");
        query->click();
        QCOMPARE(barcodes(picker), QStringList{"T003"});
        QCOMPARE(Messages::takeShown().size(), 0);

        classes->setCurrentText("O");
        box->setText("三");
        query->click();
        QCOMPARE(barcodes(picker), QStringList());
        QCOMPARE(Messages::lastText(), QString("没有找到您需要的数据，请重新输入查询条件！"));
        QCOMPARE(picker.barcode(), QString());
    }

    void answersWithTheBookUnderTheCursor()
    {
        for (const char* how : {"enter", "ok", "back", "escape"}) {
            Ttsxxfm picker("select * from tszk order by txm", {});
            picker.show();
            QVERIFY(QTest::qWaitForWindowActive(&picker));
            auto* grid = picker.findChild<QTableView*>("DBGrid1");
            QCOMPARE(picker.barcode(), QString("T001"));
            grid->selectRow(2);
            const QString way = how;
            if (way == "enter")
                QTest::keyClick(grid, Qt::Key_Return);
            else if (way == "ok")
                picker.findChild<QPushButton*>("Button2")->click();
            else if (way == "back")
                picker.findChild<QPushButton*>("Button3")->click();
            else
                QTest::keyClick(grid, Qt::Key_Escape);
            QVERIFY2(!picker.isVisible(), how);
            QCOMPARE(picker.barcode(), QString("T003"));
            QCOMPARE(picker.value("tsmc").toString(), QString("三体"));
            QCOMPARE(picker.row().value("bs").toInt(), 2);
        }
    }
};

LIBRARY_TEST(TsxxTest)
#include "tsxxtest.moc"
