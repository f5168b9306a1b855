#include "app/yhsqgl.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// The rights screen: the buttons follow the list entered, and every path of granting and
// revoking writes what the operator sees.
class YhsqglTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<Tyhsqglfm> screen;

    QListWidget* list(const char* name) { return screen->findChild<QListWidget*>(name); }
    QPushButton* button(const char* name) { return screen->findChild<QPushButton*>(name); }
    void choose(const QString& code)
    {
        auto* box = screen->findChild<QComboBox*>("ComboBox1");
        box->setFocus();
        box->setEditText(code);
    }
    void enter(const char* name)
    {
        QListWidget* l = list(name);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(screen->focusWidget(), l);
    }
    static void select(QListWidget* l, const QString& caption)
    {
        const auto items = l->findItems(caption, Qt::MatchExactly);
        QVERIFY2(!items.isEmpty(), qPrintable(caption));
        l->setCurrentItem(items.first());
    }
    void doubleClick(const char* name, const QString& caption)
    {
        QListWidget* l = list(name);
        select(l, caption);
        l->setFocus();
        emit l->itemDoubleClicked(l->currentItem());
    }
    QStringList grants()
    {
        QStringList captions;
        for (int i = 0; i < list("Look2")->count(); ++i)
            captions << list("Look2")->item(i)->text();
        return captions;
    }
    static QStringList shown()
    {
        QStringList texts;
        for (const Messages::Shown& s : Messages::takeShown())
            texts << s.caption + ":" + s.text;
        return texts;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into userk(loginuser,name,passw,dj) values('OP','张三','x','C')");
        screen = std::make_unique<Tyhsqglfm>();
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void opensWithTheCatalogueAndNoOperator()
    {
        QCOMPARE(screen->windowTitle(), QString("用户授权管理"));
        auto* box = screen->findChild<QComboBox*>("ComboBox1");
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(list("Look1")->count(), 8);
        QCOMPARE(list("look3")->item(0)->text(), QString("操作员权限管理")); // N13 sorts first
        for (const char* name : {"SB1", "sb2", "SB3", "SB4"})
            QVERIFY(!button(name)->isEnabled());
        // No operator: entering a list leaves granting off.
        enter("Look1");
        QVERIFY(!button("SB1")->isEnabled());
    }

    void theButtonsFollowTheListEntered()
    {
        choose("OP");
        QCOMPARE(screen->findChild<QLineEdit*>("Edit1")->text(), QString("张三"));
        enter("Look1");
        QVERIFY(button("SB1")->isEnabled() && button("sb2")->isEnabled());
        QVERIFY(!button("SB3")->isEnabled() && !button("SB4")->isEnabled());
        const auto labels = screen->findChildren<QLabel*>();
        for (QLabel* label : labels) {
            if (label->text() == "主要功能")
                QVERIFY(label->styleSheet().contains("red"));
            if (label->text() == "当前使用功能")
                QVERIFY(label->styleSheet().contains("black"));
        }
        enter("Look2");
        QVERIFY(!button("SB1")->isEnabled() && button("SB3")->isEnabled());
        // A code that names no operator grants nothing.
        choose("NOBODY");
        enter("look3");
        QVERIFY(!button("SB1")->isEnabled());
    }

    void grantingByButtonDoubleClickAndDrop()
    {
        choose("OP");
        enter("Look1");
        select(list("Look1"), "财务查询");
        button("SB1")->click();
        QCOMPARE(grants(), QStringList{"财务查询"});

        enter("look3");
        select(list("Look1"), "借书证管理");
        doubleClick("look3", "借书证查询");
        QCOMPARE(grants(), (QStringList{"财务查询", "借书证查询", "借书证管理"}));
        doubleClick("look3", "借书证查询");
        QCOMPARE(shown(), QStringList{"提示:该用户已具有此项功能！"});

        select(list("Look1"), "图书信息查询");
        select(list("look3"), "读者逾期查询");
        screen->dropped(Tyhsqglfm::List::Functions);
        QCOMPARE(grants().mid(3), (QStringList{"读者逾期查询", "图书信息查询"}));
        QCOMPARE(shown(), QStringList());

        enter("Look1");
        select(list("Look1"), "图书信息查询");
        button("sb2")->click();
        QCOMPARE(grants().size(), 40);
        QCOMPARE(list("Look1")->currentItem()->text(), QString("图书信息查询"));
    }

    void revokingPaths()
    {
        choose("OP");
        enter("Look1");
        select(list("Look1"), "图书管理");
        button("SB1")->click();
        enter("Look2");
        select(list("Look2"), "图书管理");
        button("SB3")->click();
        QVERIFY(!grants().contains("图书管理"));
        QVERIFY(grants().contains("图书编目"));
        doubleClick("Look2", "图书编目");
        QVERIFY(!grants().contains("图书编目"));
        button("SB4")->click();
        QCOMPARE(grants(), QStringList());
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP'"), 0);
    }

    void theSuperuserKeepsEveryGrant()
    {
        choose(" admin ");
        QCOMPARE(grants().size(), 40);
        enter("Look2");
        select(list("Look2"), "操作员权限管理");
        button("SB3")->click();
        doubleClick("Look2", "操作员权限管理");
        button("SB4")->click();
        const QString refusal = "图书馆管理系统:超级用户权限不能被删除！";
        QCOMPARE(shown(), (QStringList{refusal, refusal, refusal}));
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='ADMIN'"), 40);
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='ADMIN' and "
                                "funename='N13'"),
                 1);
    }
};

LIBRARY_TEST(YhsqglTest)
#include "yhsqgltest.moc"
