#include "catalogue/tsflsz.h"
#include "catalogue/bztsflm.h"
#include "catalogue/flxx.h"
#include "catalogue/mxfl.h"
#include "catalogue/tsflcx.h"
#include "data/sql.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
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

// The classification screens: settings, query with its report, the choosers and the
// national-standard entry.
class TsflszTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList column(QTableView* grid, int c)
    {
        QStringList values;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            values << grid->model()->index(row, c).data().toString();
        return values;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        QDir().mkpath(fixture->path("reports"));
    }
    void cleanup() { fixture.reset(); }

    void settingsSaveKeepsTheFirstLevelForTheNextPair()
    {
        TFormtsflsz screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto* edit1 = screen.findChild<QLineEdit*>("Edit1");
        auto* edit3 = screen.findChild<QLineEdit*>("Edit3");
        typeText(edit1, "ABC"); // two characters at most
        QCOMPARE(edit1->text(), QString("AB"));
        edit1->setText("A");
        QTest::keyClick(edit1, Qt::Key_Return);
        auto* edit2 = screen.findChild<QLineEdit*>("Edit2");
        QVERIFY(edit2->hasFocus());
        QTest::keyClick(edit2, Qt::Key_Return); // empty: stays
        QVERIFY(edit2->hasFocus());
        typeText(edit2, "马列主义");
        QTest::keyClick(edit2, Qt::Key_Return);
        typeText(edit3, "A1");
        QTest::keyClick(edit3, Qt::Key_Return);
        auto* edit4 = screen.findChild<QLineEdit*>("Edit4");
        typeText(edit4, "马克思著作");
        QTest::keyClick(edit4, Qt::Key_Return);
        auto* save = screen.findChild<QPushButton*>("Button2");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(Messages::takeShown().size(), 0);
        QCOMPARE(Fixture::count("select count(*) from bmdyb"), 2);
        QCOMPARE(edit1->text(), QString("A"));
        QCOMPARE(edit3->text(), QString());
        QVERIFY(edit3->hasFocus());

        edit3->setText("A2");
        save->click(); // the second-level name is missing
        QCOMPARE(Messages::lastText(), QString("请您填写完整的信息"));
        edit4->setText("列宁著作");
        save->click();
        auto* grid = screen.findChild<QTableView*>("DBGrid1");
        QCOMPARE(column(grid, 2), QStringList({"A1", "A2"}));
        QCOMPARE(grid->currentIndex().row(), 1); // the last row

        Messages::takeShown();
        Messages::queueAnswer(true);
        screen.findChild<QPushButton*>("Button3")->click();
        QCOMPARE(column(grid, 2), QStringList{"A1"});
        QCOMPARE(Fixture::count("select count(*) from bmdyb where type_id='A2'"), 0);
        Messages::queueAnswer(true);
        screen.findChild<QPushButton*>("Button3")->click();
        QCOMPARE(Fixture::count("select count(*) from bmdyb"), 0);
        Messages::takeShown();
        screen.findChild<QPushButton*>("Button3")->click();
        QCOMPARE(Messages::lastText(), QString("没有您需要删除的数据！"));
    }

    void queryListsByCodeAndPrintsTheReport()
    {
        const QList<QStringList> pairs{{"B", "哲学", "B2", "哲学理论"},
                                       {"A", "马列主义", "A1", "马克思著作"},
                                       {"B", "哲学", "B1", "思维科学"},
                                       {"AB", "其他", "AB1", "其他一"}};
        for (const QStringList& p : pairs)
            Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa',:a,:b,:c,:d)",
                     {p[0], p[1], p[2], p[3]});
        for (int i = 0; i < 40; ++i)
            Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa','C','文化',:c,:d)",
                     {QString("C%1").arg(i), QString("文化类%1").arg(i)});
        TFormtsflcx query;
        query.show();
        auto* code = query.findChild<QComboBox*>("ComboBox1");
        auto* grid = query.findChild<QTableView*>("DBGrid1");
        QCOMPARE(code->count(), 4);                        // distinct codes
        query.findChild<QPushButton*>("Button2")->click(); // nothing listed: no report
        QCOMPARE(ReportOutput::takeRequests().size(), 0);

        query.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(column(grid, 0).mid(0, 4), QStringList({"A", "AB", "B", "B"}));
        QCOMPARE(column(grid, 2).mid(2, 2), QStringList({"B2", "B1"})); // entry order in a class

        code->setEditText("B");
        QCOMPARE(query.findChild<QLabel*>("lts")->text(), QString("哲学"));
        query.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(column(grid, 2), QStringList({"B2", "B1"}));

        code->setEditText("A'");
        query.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(Messages::lastText(), QString("没有找到您需要的数据！"));
        query.findChild<QPushButton*>("Button2")->click();
        QCOMPARE(ReportOutput::takeRequests().size(), 0);

        code->setEditText("");
        query.findChild<QPushButton*>("Button1")->click();
        query.findChild<QPushButton*>("Button2")->click();
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().pages, 2); // 44 lines
        if (!qEnvironmentVariableIsEmpty("LIBRARYDESK_KEEP_REPORTS"))
            QFile::copy(requests.first().pdf,
                        qEnvironmentVariable("LIBRARYDESK_KEEP_REPORTS") + "/tsflbb.pdf");
    }

    void choosersAnswerWithTheSelectedRow()
    {
        for (const char* code : {"TP3", "TP31", "TN"})
            Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa','T','工业',:c,:d)",
                     {code, QString(code) + "名"});
        TFormflxx chooser("TP");
        chooser.show();
        QCOMPARE(chooser.count(), 2);
        chooser.findChild<QTableView*>("DBGrid1")->selectRow(1);
        QTest::keyClick(chooser.findChild<QTableView*>("DBGrid1"), Qt::Key_Return);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.code(), QString("TP31"));
        QCOMPARE(chooser.name(), QString("TP31名"));

        // The delivered detailed list.
        Tmxflfm list("计算机");
        list.show();
        QVERIFY(list.count() >= 1);
        QCOMPARE(list.code(), QString("TP"));
        QCOMPARE(Tmxflfm("不存在'").count(), 0);
    }

    void standardEntryAddsPairsWithoutNodes()
    {
        Tbztsflmfm entry;
        entry.show();
        QVERIFY(QTest::qWaitForWindowActive(&entry));
        auto box = [&](const char* name) { return entry.findChild<QLineEdit*>(name); };
        typeText(box("Jlm"), "社会科学");
        QTest::keyClick(box("Jlm"), Qt::Key_Return);
        QVERIFY(box("Dldm")->hasFocus());
        typeText(box("Dldm"), "c");
        QCOMPARE(box("Dldm")->text(), QString("C"));
        box("Dlmc")->setText("社会科学总论");
        typeText(box("Mxldm"), "c8");
        QTest::keyClick(box("Mxlmc"), Qt::Key_Return); // name missing
        QCOMPARE(Messages::lastText(), QString("您的信息输入不完全，请确定后重新输入。"));
        QVERIFY(box("Jlm")->hasFocus());
        box("Mxlmc")->setText("统计学");
        QTest::keyClick(box("Mxlmc"), Qt::Key_Return);
        QCOMPARE(Fixture::count("select count(*) from tsflm where jlm='社会科学' and dldm='C' "
                                "and mxldm='C8' and mxlmc='统计学'"),
                 1);
        QCOMPARE(Fixture::count("select count(*) from bmdyb"), 0);
        QCOMPARE(box("Dlmc")->text(), QString("社会科学总论"));
        QCOMPARE(box("Mxldm")->text(), QString());
        QVERIFY(box("Mxldm")->hasFocus());

        Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) values('aa','C','设置',:c,'设置名')",
                 {"C9"});
        Sql::run("insert into tsflm(dldm,dlmc,mxldm,mxlmc) values('C','无基类','C7','x')");
        Ttsbzflcxjgfm result;
        result.show();
        QCOMPARE(result.model()->rowCount(), 3);
        StandardPair conditions;
        conditions.firstCode = "C";
        result.applyConditions(conditions);
        QCOMPARE(result.model()->rowCount(), 2); // rows without a base class are not listed
        conditions.secondName = "计";
        result.applyConditions(conditions);
        QCOMPARE(result.model()->rowCount(), 1);
        conditions.secondName = "计'";
        result.applyConditions(conditions);
        QCOMPARE(result.model()->rowCount(), 0);
        conditions = StandardPair();
        conditions.baseClass = "a";
        result.applyConditions(conditions);
        QCOMPARE(result.model()->rowCount(), 1); // "aa" contains "a"
        // The settings screen's rows are corrected there, not here.
        QVERIFY(!(result.model()->flags(result.model()->index(0, 1)) & Qt::ItemIsEditable));
    }

    // A cell typed in the standard grid is written by the desk: codes in upper case, a
    // failing write shown and the cell back to what is stored.
    void theStandardGridCorrectsThroughTheDesk()
    {
        Sql::run("insert into tsflm(jlm,dldm,dlmc,mxldm,mxlmc) "
                 "values('社会科学','C','总论','C8','统计')");
        Ttsbzflcxjgfm result;
        result.show();
        QVERIFY(QTest::qWaitForWindowActive(&result));
        auto* grid = result.findChild<QTableView*>("DBGrid1");
        const auto typeIntoCell = [&](int column, const QString& text) {
            grid->setCurrentIndex(grid->model()->index(0, column));
            QTest::keyClick(grid, Qt::Key_F2);
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY(editor);
            editor->selectAll();
            editor->insert(text); // as the input method hands Chinese over
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        };
        typeIntoCell(3, "c81");
        QCOMPARE(Messages::takeShown().size(), 0);
        QCOMPARE(Sql::scalar("select mxldm from tsflm").toString(), QString("C81"));
        QTRY_COMPARE(grid->model()->index(0, 3).data().toString(), QString("C81"));

        Sql::failAt(2); // the update, after the row is read
        typeIntoCell(4, "统计学");
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(Sql::scalar("select mxlmc from tsflm").toString(), QString("统计"));
        QTRY_COMPARE(grid->model()->index(0, 4).data().toString(), QString("统计"));
        Sql::resetFault();
    }
};

LIBRARY_TEST(TsflszTest)
#include "tsflsztest.moc"
