#include "readingroom/zzqk.h"
#include "../ui/xlsxreader.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "readingroom/zzqkcx.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The register screen and its query dialog as the operator uses them.
class ZzqkTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QPointer<Tzzqkfm> screen;

    void open()
    {
        screen = new Tzzqkfm;
        screen->show();
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }
    template <typename T> T* box(const char* name) { return screen->findChild<T*>(name); }
    QLineEdit* edit(const char* name) { return box<QLineEdit>(name); }
    void press(const char* name) { box<QPushButton>(name)->click(); }
    static QStringList shownTexts()
    {
        QStringList texts;
        for (const Messages::Shown& shown : Messages::takeShown())
            texts << shown.caption + ":" + shown.text;
        return texts;
    }
    static QStringList issues()
    {
        QStringList rows;
        Sql q("select mc,kh,cbrq,lx,bz,cbsmc,pyzjh from zzqk order by iid");
        q.exec();
        while (q.next())
            rows << QStringList{q.text("mc"), q.text("kh"),    q.text("cbrq"), q.text("lx"),
                                q.text("bz"), q.text("cbsmc"), q.text("pyzjh")}
                        .join("|");
        return rows;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        delete screen;
        fixture.reset();
    }

    void opensWithItsDefaults()
    {
        open();
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("杂志"));
        QCOMPARE(edit("Edit2")->text(), QString("1"));
        QCOMPARE(box<QPlainTextEdit>("Memo1")->toPlainText(), QString("重要内容与标志"));
        QCOMPARE(edit("Edit3")->text(), QString("2026-12-09"));
        QCOMPARE(QApplication::focusWidget(), edit("Edit1"));
    }

    void typingAndSavingTwoIssues()
    {
        open();
        edit("Edit1")->insert("读者");                  // as typed
        QTest::keyClick(edit("Edit1"), Qt::Key_Return); // leaving fills the mnemonic
        QCOMPARE(edit("Edit7")->text(), QString("DZ"));
        QCOMPARE(QApplication::focusWidget(), edit("Edit7"));
        edit("Edit7")->setText("dz"); // stored upper-cased
        edit("Edit2")->setText("12");
        edit("Edit4")->setText("读者出版社");
        press("BitBtn1");
        QCOMPARE(shownTexts(), QStringList());
        // After a save the type stays, the issue is empty and the date is today.
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("杂志"));
        QCOMPARE(edit("Edit1")->text() + edit("Edit2")->text() + edit("Edit4")->text() +
                     edit("Edit7")->text() + box<QPlainTextEdit>("Memo1")->toPlainText(),
                 QString());
        QCOMPARE(edit("Edit3")->text(), QString("2026-12-09"));

        edit("Edit1")->setFocus();
        QTest::keyClicks(edit("Edit1"), "China Daily");
        edit("Edit2")->setFocus(); // leaving by the mouse fills it as well
        QCOMPARE(edit("Edit7")->text(), QString());
        edit("Edit2")->setText("3");
        press("BitBtn1");
        QCOMPARE(shownTexts(), QStringList{"提示信息:请确定以上栏目都已填写!"});
        edit("Edit4")->setText("读者出版社");
        box<QComboBox>("ComboBox1")->setCurrentText("报纸");
        press("BitBtn1");
        QCOMPARE(issues(), (QStringList{"读者|12|2026-12-09|杂志|重要内容与标志|读者出版社|DZ",
                                        "China Daily|3|2026-12-09|报纸||读者出版社|"}));
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 1);
    }

    void aDateThatIsNoneIsRefusedOnLeavingAndOnSave()
    {
        open();
        edit("Edit1")->setText("读者");
        edit("Edit4")->setText("读者出版社");
        edit("Edit3")->setFocus();
        edit("Edit3")->setText("2026-02-30");
        QTest::keyClick(edit("Edit3"), Qt::Key_Return);
        QCOMPARE(shownTexts(), QStringList{"提示信息:日期格式错误"});
        QTRY_COMPARE(QApplication::focusWidget(), edit("Edit3"));
        // An accelerator (Alt+S) does not leave the box: Save checks the date itself.
        box<QPushButton>("BitBtn1")->click();
        QCOMPARE(QApplication::focusWidget(), edit("Edit3"));
        QCOMPARE(shownTexts(), QStringList{"提示信息:日期格式错误"});
        QCOMPARE(issues(), QStringList());
    }

    void thePublisherListFillsOrEmptiesTheBox()
    {
        Sql::run("insert into cbsxxk(pyzjh,cbsmc) values('DZCBS','读者出版社')");
        open();
        edit("Edit4")->setFocus();
        auto* list = box<QPushButton>("BitBtn7");
        QVERIFY(list->isVisible());
        const auto choose = [&](const char* button) {
            return Driver::whileModal(
                "TFormcbsxxcx",
                [button](QWidget* dialog) { Driver::box<QPushButton>(dialog, button)->click(); },
                [&] { list->click(); });
        };
        QVERIFY(choose("Button2")); // 确定
        QCOMPARE(edit("Edit4")->text(), QString("读者出版社"));
        QVERIFY(choose("Button3")); // 返回
        QCOMPARE(edit("Edit4")->text(), QString());
        QCOMPARE(screen->focusWidget(), edit("Edit4"));
    }

    void clearKeepsTheType()
    {
        open();
        box<QComboBox>("ComboBox1")->setCurrentText("期刊");
        edit("Edit1")->setText("读者");
        press("BitBtn2");
        QCOMPARE(edit("Edit1")->text() + edit("Edit2")->text() + edit("Edit3")->text(), QString());
        QCOMPARE(box<QComboBox>("ComboBox1")->currentText(), QString("期刊"));
    }

    void queryDialogListsAndExports()
    {
        const QStringList rows[] = {{"人民日报", "1", "报纸", "人民日报社", "RMRB"},
                                    {"读者", "1", "杂志", "读者出版社", "DZ"},
                                    {"人民文学", "9", "期刊", "人民文学出版社", "RMWX"}};
        for (const QStringList& r : rows)
            Sql::run("insert into zzqk(mc,kh,cbrq,lx,cbsmc,pyzjh) values(:a,:b,:c,:d,:e,:f)",
                     {r[0], r[1], "2026-11-01", r[2], r[3], r[4]});
        TFormzzqkcx dialog;
        dialog.findChild<QLineEdit*>("Edit2")->setText("人民");
        dialog.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(dialog.rowCount(), 2);
        auto* grid = dialog.findChild<QTableView*>("DBGrid1");
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QString("人民日报"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("类型"));
        QCOMPARE(grid->model()->columnCount(), 6);
        dialog.findChild<QLineEdit*>("Edit2")->setText("新华");
        dialog.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shownTexts(), QStringList{"图书馆管理系统:没有找到您需要的数据！"});

        const QString file = fixture->path("zz.xlsx");
        FileDialogs::queueAnswer(file);
        dialog.findChild<QPushButton*>("BitBtn2")->click();
        QCOMPARE(FileDialogs::lastProposed(), QString("杂志期刊报表"));
        const QList<QStringList> sheet = XlsxSheet::read(file).rows;
        QCOMPARE(sheet.size(), 4);
        QCOMPARE(sheet[0], (QStringList{"类型", "名称", "刊号", "出版日期", "出版社名称"}));
        QCOMPARE(sheet[1].value(1), QString("人民日报")); // ordered by type: 报纸 first
    }
};

LIBRARY_TEST(ZzqkTest)
#include "zzqktest.moc"
