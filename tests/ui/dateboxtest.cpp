#include "ui/datebox.h"
#include "driver.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"
#include "ui/pickdate.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <memory>

// A small screen: a date box Edit3 with its button BitBtn4, the next box Edit4 and
// another control Edit5.
class DateScreen : public QWidget {
public:
    DateScreen()
    {
        auto* layout = new QVBoxLayout(this);
        date = new QLineEdit(this);
        date->setObjectName("Edit3");
        button = new QPushButton(">>>", this);
        button->setObjectName("BitBtn4");
        next = new QLineEdit(this);
        next->setObjectName("Edit4");
        other = new QLineEdit(this);
        other->setObjectName("Edit5");
        for (QWidget* w : {static_cast<QWidget*>(date), static_cast<QWidget*>(button),
                           static_cast<QWidget*>(next), static_cast<QWidget*>(other)})
            layout->addWidget(w);
        box = DateBox::attach(date, button, next);
    }
    QLineEdit* date;
    QPushButton* button;
    QLineEdit* next;
    QLineEdit* other;
    DateBox* box;
};

class DateBoxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<DateScreen> screen;

    void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents(); // deferred focus returns
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        screen = std::make_unique<DateScreen>();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        focus(screen->other);
    }
    void cleanup()
    {
        screen.reset();
        fixture.reset();
    }

    void buttonShownOnlyWhileBoxOrButtonHasFocus()
    {
        QVERIFY(!screen->button->isVisible());
        focus(screen->date);
        QVERIFY(screen->button->isVisible());
        focus(screen->button);
        QVERIFY(screen->button->isVisible());
        focus(screen->date);
        QVERIFY(screen->button->isVisible());
        focus(screen->other);
        QVERIFY(!screen->button->isVisible());
        QCOMPARE(DateBox::of(screen->date), screen->box);
    }

    void pickedDateFillsBoxAndMovesOn()
    {
        QSignalSpy picked(screen->box, &DateBox::picked);
        focus(screen->date);
        screen->date->setText("2020-01-01");
        QVERIFY(Driver::pickDate(QDate(2026, 3, 5),
                                 [this] { QTest::mouseClick(screen->button, Qt::LeftButton); }));
        QCOMPARE(screen->date->text(), QString("2026-03-05"));
        QCOMPARE(QApplication::focusWidget(), screen->next);
        QVERIFY(!screen->button->isVisible());
        QCOMPARE(picked.count(), 1);
    }

    // The real picker window: OK at once writes today and moves on; Esc keeps the
    // text and returns to the box. The button is hidden afterwards either way.
    void realPicker_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK at once") << true;
        QTest::newRow("Esc") << false;
    }
    void realPicker()
    {
        QFETCH(bool, ok);
        focus(screen->date);
        screen->date->setText("abc");
        QSignalSpy entered(screen->box, &DateBox::entered);
        Messages::setScripted(false);
        // Answer the picker once it is up (under load it may take a moment to appear).
        auto answer = std::make_shared<std::function<void()>>();
        *answer = [ok, answer] {
            auto* form = qobject_cast<TBrDateForm*>(QApplication::activeModalWidget());
            if (!form) {
                QTimer::singleShot(10, *answer);
                return;
            }
            if (ok) {
                QTest::keyClick(form, Qt::Key_Return); // to OK
                QTest::keyClick(form->focusWidget(), Qt::Key_Return);
            } else {
                QTest::keyClick(form, Qt::Key_Escape);
            }
        };
        QTimer::singleShot(0, *answer);
        QTest::mouseClick(screen->button, Qt::LeftButton);
        Messages::setScripted(true);
        QApplication::setActiveWindow(screen.get()); // what the window manager does
        QTRY_COMPARE(QApplication::focusWidget(), ok ? screen->next : screen->date);
        QCOMPARE(screen->date->text(), QString(ok ? "2026-12-09" : "abc"));
        QVERIFY(!screen->button->isVisible());
        QCOMPARE(entered.count(), 0);
    }

    void cancelKeepsTextAndReturnsToBox()
    {
        focus(screen->date);
        QSignalSpy entered(screen->box, &DateBox::entered);
        screen->date->setText("2020-01-01");
        QVERIFY(Driver::pickDate(std::nullopt,
                                 [this] { QTest::mouseClick(screen->button, Qt::LeftButton); }));
        QCOMPARE(screen->date->text(), QString("2020-01-01"));
        QCOMPARE(QApplication::focusWidget(), screen->date);
        QVERIFY(!screen->button->isVisible());
        QCOMPARE(entered.count(), 0); // back from the picker, not entered anew
        focus(screen->other);
        focus(screen->date);
        QVERIFY(screen->button->isVisible());
        QCOMPARE(entered.count(), 1);
    }

    void leaveCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<bool>("complains");
        QTest::newRow("slashes") << "2026/3/5" << false << "2026-03-05" << false;
        QTest::newRow("short dashes") << "2026-3-5" << false << "2026-03-05" << false;
        QTest::newRow("empty") << "" << false << "" << false;
        QTest::newRow("not a date, kept") << "2026-2-30" << false << "2026-2-30" << true;
        QTest::newRow("not a date, cleared") << "abc" << true << "" << true;
    }
    void leaveCheck()
    {
        QFETCH(QString, typed);
        QFETCH(bool, clear);
        QFETCH(QString, expectedText);
        QFETCH(bool, complains);
        screen->box->checkOnLeave("提示信息", "日期格式错误!",
                                  clear ? DateBox::OnInvalid::Clear : DateBox::OnInvalid::Keep);
        QSignalSpy left(screen->box, &DateBox::leftWithDate);
        focus(screen->date);
        QTest::keyClicks(screen->date, typed);
        focus(screen->other);
        QCOMPARE(screen->date->text(), expectedText);
        const QList<Messages::Shown> shown = Messages::takeShown();
        if (complains) {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].caption, QString("提示信息"));
            QCOMPARE(shown[0].text, QString("日期格式错误!"));
            QCOMPARE(QApplication::focusWidget(), screen->date);
            QCOMPARE(left.count(), 0);
        } else {
            QVERIFY(shown.isEmpty());
            QCOMPARE(QApplication::focusWidget(), screen->other);
            QCOMPARE(left.count(), typed.isEmpty() ? 0 : 1);
        }
    }

    void goingToOwnButtonChecksNothing()
    {
        screen->box->checkOnLeave("提示信息", "日期格式错误");
        focus(screen->date);
        QTest::keyClicks(screen->date, "abc");
        focus(screen->button);
        QVERIFY(Messages::takeShown().isEmpty());
        QCOMPARE(screen->date->text(), QString("abc"));
    }

    void createdControlsCarryTheirNames()
    {
        QWidget parent;
        DateBox* box = DateBox::create(&parent, "Edit8", "BitBtn1");
        QCOMPARE(box->edit()->objectName(), QString("Edit8"));
        QCOMPARE(box->button()->objectName(), QString("BitBtn1"));
        QCOMPARE(box->button()->text(), QString(">>>"));
        box->edit()->setText("2026/12/9");
        QCOMPARE(box->date(), QDate(2026, 12, 9));
    }
};

LIBRARY_TEST(DateBoxTest)
#include "dateboxtest.moc"
