#include "app/login.h"
#include "data/passwords.h"
#include "data/session.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class LoginTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static void type(Tloginfm& dialog, const QString& code, const QString& password)
    {
        dialog.findChild<QLineEdit*>("Edit1")->setText(code);
        dialog.findChild<QLineEdit*>("Edit2")->setText(password);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Session::reset();
        Sql::run("insert into userk(loginuser,name,passw,dj) values(:a,:b,:c,:d)",
                 {"ABC", "张三", Passwords::hash("pw"), "B"});
    }
    void cleanup() { fixture.reset(); }

    void attempts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("loginCode");
        QTest::newRow("superuser in lower case") << "admin"
                                                 << "1" << true << "ADMIN";
        QTest::newRow("operator as stored") << "ABC"
                                            << "pw" << true << "ABC";
        QTest::newRow("only ADMIN is case-folded") << "abc"
                                                   << "pw" << false << "";
        QTest::newRow("another operator's password") << "ABC"
                                                     << "1" << false << "";
        QTest::newRow("unknown operator") << "XYZ"
                                          << "pw" << false << "";
    }
    void attempts()
    {
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(bool, succeeds);
        QFETCH(QString, loginCode);
        Tloginfm dialog;
        type(dialog, code, password);
        dialog.findChild<QPushButton*>("BitBtn1")->click();
        QCOMPARE(Session::current().completed, succeeds);
        QVERIFY(Session::current().attempted);
        QCOMPARE(Session::current().loginCode, loginCode);
        if (succeeds) {
            QVERIFY(Messages::takeShown().isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        } else {
            QCOMPARE(Messages::lastText(), QString("用户名或者密码不对！"));
            QCOMPARE(Messages::takeShown()[0].caption, QString("图书馆管理系统"));
        }
    }

    void sessionHoldsTheOperatorsName()
    {
        Tloginfm dialog;
        type(dialog, "ABC", "pw");
        dialog.attemptLogin();
        QCOMPARE(Session::current().name, QString("张三"));
        QCOMPARE(Session::current().grade, QString("B"));
    }

    void emptyPasswordIsRefused()
    {
        Tloginfm dialog;
        type(dialog, "ADMIN", "");
        dialog.attemptLogin();
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("提示"));
        QCOMPARE(shown[0].text, QString("你未输入口令，请输入完整的登录信息后再回车。"));
        QVERIFY(!Session::current().attempted);
    }

    void keys()
    {
        Tloginfm dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* code = dialog.findChild<QLineEdit*>("Edit1");
        auto* password = dialog.findChild<QLineEdit*>("Edit2");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_Return); // empty: stays
        QVERIFY(code->hasFocus());
        QTest::keyClicks(code, "ADMIN");
        QTest::keyClick(code, Qt::Key_Return);
        QVERIFY(password->hasFocus());
        QTest::keyClick(password, Qt::Key_Escape);
        QVERIFY(code->hasFocus());
        QVERIFY(dialog.isVisible());
        password->setText("1");
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(Session::current().loggedIn());
        QVERIFY(!dialog.isVisible());
    }

    void closingRules()
    {
        {
            Tloginfm dialog; // boxes filled, nothing attempted: refuses to close
            dialog.show();
            type(dialog, "ADMIN", "9");
            dialog.reject();
            QVERIFY(dialog.isVisible());
            QVERIFY(!dialog.quitRequested());
            dialog.attemptLogin(); // a failed attempt allows closing, the program runs on
            dialog.reject();
            QVERIFY(!dialog.isVisible());
            QVERIFY(!dialog.quitRequested());
        }
        {
            Tloginfm dialog; // an empty box ends the program
            dialog.show();
            dialog.reject();
            QVERIFY(dialog.quitRequested());
        }
        {
            Tloginfm dialog; // "退出" always ends the program
            dialog.show();
            type(dialog, "ADMIN", "9");
            dialog.findChild<QPushButton*>("BitBtn2")->click();
            QVERIFY(dialog.quitRequested());
            QVERIFY(!dialog.isVisible());
        }
    }

    void warningWhileDeliveredPassword()
    {
        {
            Tloginfm dialog;
            dialog.show();
            QVERIFY(dialog.findChild<QLabel*>("lts")->isVisible());
            QVERIFY(dialog.findChild<QLabel*>("lts")->text().endsWith("请您及时更改密码!"));
        }
        Sql::run("update userk set passw=:p where loginuser=:l", {Passwords::hash("new"), "ADMIN"});
        Tloginfm dialog;
        dialog.show();
        QVERIFY(!dialog.findChild<QLabel*>("lts")->isVisible());
    }

    void passwordsAreStoredHashed()
    {
        const QString stored =
            Sql::scalar("select passw from userk where loginuser='ADMIN'").toString();
        QVERIFY(stored.startsWith("$argon2id$"));
        QVERIFY(Passwords::verify(stored, "1"));
        QVERIFY(!Passwords::verify(stored, "2"));
    }

    void storeErrorRollsBackTheWholeAction()
    {
        const bool done = Action::run(nullptr, [] {
            Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)",
                     {5.0, "收押金", "2026-12-09"});
            Sql::run("insert into cardk(kno) values(:a)", {QString()}); // kno is required
        });
        QVERIFY(!done);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains("NOT NULL"));
        QFile log(fixture->path("log/library.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("rolled back"));
    }
};

LIBRARY_TEST(LoginTest)
#include "logintest.moc"
