#include "app/yhgl.h"
#include "app/login.h"
#include "app/passw.h"
#include "app/yhmm.h"
#include "data/passwords.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The operator screens: the list with its add/edit/delete/password buttons, the password
// dialog it asks with, and an operator's own password change.
class YhglTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tyhglfm> screen;

    QLineEdit* box(const char* name) { return screen->findChild<QLineEdit*>(name); }
    void click(const char* name) { screen->findChild<QPushButton*>(name)->click(); }
    void selectRow(const QString& code)
    {
        auto* grid = screen->findChild<QTableView*>("DBGrid1");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 0).data().toString() == code)
                grid->selectRow(r);
        QCOMPARE(box("DBEdit1")->text(), code);
    }
    // Answers the password dialog that the next action opens.
    static void answerPassword(const QString& first, const QString& second, QString* label)
    {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<TFormyhmm*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            *label = dialog->findChild<QWidget*>("lts")->property("text").toString();
            dialog->findChild<QLineEdit*>("Edit1")->setText(first);
            dialog->findChild<QLineEdit*>("Edit2")->setText(second);
            if (first.isEmpty())
                dialog->findChild<QPushButton*>("BitBtn2")->click();
            else
                dialog->findChild<QPushButton*>("BitBtn1")->click();
        });
    }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text + (s.icon == Messages::Icon::Critical ? "(x)" : "");
        return texts;
    }
    static QString row(const QString& code)
    {
        Sql q("select * from userk where loginuser=:a");
        q.bind(code).exec();
        return q.first() ? q.text("name") + "/" + q.text("dj") : QString();
    }
    static QString hashOf(const QString& code)
    {
        return Sql::scalar("select passw from userk where loginuser=:a", {code}).toString();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        screen = std::make_unique<Tyhglfm>();
        screen->show();
    }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void addingStoresTheGradeChosen()
    {
        QVERIFY(box("DBEdit1")->isReadOnly() && box("DBEdit3")->isReadOnly());
        click("add");
        QVERIFY(!box("DBEdit1")->isReadOnly());
        QCOMPARE(screen->findChild<QComboBox*>("DBComboBox1")->currentText(), QString("A"));
        QTest::keyClicks(box("DBEdit1"), "OP1");
        QTest::keyClick(box("DBEdit1"), Qt::Key_Return);
        QCOMPARE(screen->focusWidget(), box("DBEdit3"));
        box("DBEdit3")->setText("张三");
        screen->findChild<QComboBox*>("DBComboBox1")->setCurrentText("C");
        QString label;
        answerPassword("1234567", "1234567", &label);
        click("save");
        QCOMPARE(label, QString("当前操作员名为:张三"));
        QCOMPARE(shown(), QStringList{"保存提示:新用户已经添加成功！"});
        QCOMPARE(row("OP1"), QString("张三/C"));
        QVERIFY(Passwords::verify(hashOf("OP1"), "1234567"));
        QVERIFY(box("DBEdit1")->isReadOnly());
        QCOMPARE(box("DBEdit1")->text(), QString("OP1"));
    }

    void addingThatStoresNothing()
    {
        QString label;
        click("add");
        box("DBEdit1")->setText("TEST");
        box("DBEdit3")->setText("重复");
        answerPassword("pw", "pw", &label);
        click("save");
        QCOMPARE(shown(), QStringList{"保存提示:   保存发生错误!(x)"});
        QCOMPARE(row("TEST"), QString("测试员/A"));

        box("DBEdit1")->setText("OP2");
        answerPassword("", "", &label);
        click("save");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:密码为空，记录没有保存"});
        QCOMPARE(row("OP2"), QString());
        QCOMPARE(screen->state(), Tyhglfm::State::Browsing);

        click("add");
        click("save");
        QCOMPARE(shown(), QStringList{"保存提示:请先输入用户代号!"});
        QCOMPARE(screen->focusWidget(), box("DBEdit1"));
    }

    void theSuperuserIsNotEditedOrDeleted()
    {
        selectRow("ADMIN");
        click("edit");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:超级用户不能被修改！"});
        QVERIFY(box("DBEdit1")->isReadOnly());
        click("remove");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:超级用户不能删除！"});
        QCOMPARE(row("ADMIN"), QString("管理员/A"));
    }

    void editingAndDeletingAnotherOperator()
    {
        Sql::run("insert into userk values('OP','张三','x','C')");
        Sql::run("insert into usergrantk values('OP','kpgl','借书证管理')");
        screen = std::make_unique<Tyhglfm>();
        screen->show();
        selectRow("OP");
        QCOMPARE(screen->findChild<QComboBox*>("DBComboBox1")->currentText(), QString("C"));
        click("edit");
        box("DBEdit1")->setText("OP9");
        screen->findChild<QComboBox*>("DBComboBox1")->setCurrentText("B");
        click("save");
        QCOMPARE(shown(), QStringList());
        QCOMPARE(row("OP9"), QString("张三/B"));
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP9'"), 1);

        selectRow("OP9");
        Messages::queueAnswer(false);
        click("remove");
        QCOMPARE(Messages::takeShown().first().caption, QString("删除提示"));
        QCOMPARE(row("OP9"), QString("张三/B"));
        Messages::queueAnswer(true);
        click("remove");
        QCOMPARE(row("OP9"), QString());
    }

    // "修改" pressed while a new operator is being typed goes on adding: the save adds the
    // new one and leaves the operator that was selected before as it was.
    void editPressedWhileAddingStillAdds()
    {
        Sql::run("insert into userk values('OP1','张三','hash-of-op1','C')");
        Sql::run("insert into usergrantk values('OP1','kpgl','借书证管理')");
        screen = std::make_unique<Tyhglfm>();
        screen->show();
        selectRow("OP1");
        click("add");
        QTest::keyClicks(box("DBEdit1"), "OP2");
        box("DBEdit3")->setText("李四");
        click("edit");
        QCOMPARE(screen->state(), Tyhglfm::State::Adding);
        QCOMPARE(box("DBEdit1")->text(), QString("OP2"));
        QString label;
        answerPassword("secret", "secret", &label);
        click("save");
        QCOMPARE(shown(), QStringList{"保存提示:新用户已经添加成功！"});
        QCOMPARE(row("OP1"), QString("张三/C"));
        QCOMPARE(hashOf("OP1"), QString("hash-of-op1"));
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP1'"), 1);
        QCOMPARE(row("OP2"), QString("李四/A"));
        QVERIFY(Passwords::verify(hashOf("OP2"), "secret"));
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP2'"), 0);
    }

    void passwordOfTheSuperuser()
    {
        selectRow("ADMIN");
        QString label;
        answerPassword("", "", &label);
        click("password");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:密码为空，此记录没有被修改密码！"});
        answerPassword("9876543", "9876543", &label);
        click("password");
        QCOMPARE(shown(), QStringList{"图书馆管理系统:密码修改成功！"});
        QCOMPARE(label, QString("当前操作员名为:管理员"));
        // The login warning tests exactly this.
        QVERIFY(!Passwords::verify(hashOf("ADMIN"), Passwords::deliveredSuperuserPassword));
        QVERIFY(Passwords::verify(hashOf("ADMIN"), "9876543"));
    }

    void passwordDialogRules()
    {
        TFormyhmm dialog;
        dialog.show();
        auto* first = dialog.findChild<QLineEdit*>("Edit1");
        auto* second = dialog.findChild<QLineEdit*>("Edit2");
        QTest::keyClicks(first, "12345678");
        QCOMPARE(first->text(), QString("12345678"));
        QCOMPARE(first->echoMode(), QLineEdit::Password);
        first->setText("1234567");
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), second);
        QTest::keyClicks(second, "7654321");
        QTest::keyClick(second, Qt::Key_Return);
        QCOMPARE(shown(), QStringList{"图书馆管理系统:两次输入的密码不一样！"});
        QCOMPARE(dialog.result(), QString());
        second->clear();
        dialog.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"图书馆管理系统:密码不能为空！"});
        QTest::keyClicks(second, "1234567");
        QTest::keyClick(second, Qt::Key_Return);
        QCOMPARE(dialog.result(), QString("1234567"));
        QVERIFY(!dialog.isVisible());
    }

    // A password that can be set can be typed at login, and no box takes more.
    void everyPasswordBoxTakesWhatTheLoginBoxTakes()
    {
        Tloginfm login;
        TFormyhmm set;
        Tpasswordfm own;
        const QList<QPair<QDialog*, QStringList>> boxes{
            {&login, {"Edit2"}}, {&set, {"Edit1", "Edit2"}}, {&own, {"Edit1", "Edit2", "Edit3"}}};
        const QString typed(Passwords::maxLength + 5, QChar('7'));
        for (const auto& [dialog, names] : boxes) {
            for (const QString& name : names) {
                auto* box = dialog->findChild<QLineEdit*>(name);
                QVERIFY(box);
                QTest::keyClicks(box, typed);
                QCOMPARE(box->text(), typed.left(Passwords::maxLength));
            }
        }
        QCOMPARE(set.findChild<QLabel*>("panel1")->text(),
                 QString("密码最大长度为%1位").arg(Passwords::maxLength));
        shown();
    }

    void ownPasswordChange()
    {
        screen.reset();
        Tpasswordfm own;
        own.show();
        auto* old = own.findChild<QLineEdit*>("Edit1");
        auto* fresh = own.findChild<QLineEdit*>("Edit2");
        auto* confirm = own.findChild<QLineEdit*>("Edit3");
        QTest::keyClicks(old, "wrong");
        QTest::keyClick(old, Qt::Key_Return);
        QTest::keyClicks(fresh, "neu");
        QTest::keyClick(fresh, Qt::Key_Return);
        QTest::keyClicks(confirm, "neu");
        QTest::keyClick(confirm, Qt::Key_Return);
        QTest::keyClick(own.focusWidget(), Qt::Key_Return);
        QCOMPARE(shown(), QStringList{"修改口令:您的旧口令错误，请重输旧口令"});
        QVERIFY(Passwords::verify(hashOf("TEST"), "test"));
        QVERIFY(own.isVisible());

        old->setText("test");
        own.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(shown(), QStringList{"修改口令:您已成功的更改口令！"});
        QVERIFY(Passwords::verify(hashOf("TEST"), "neu"));
        QVERIFY(!own.isVisible());
    }
};

LIBRARY_TEST(YhglTest)
#include "yhgltest.moc"
