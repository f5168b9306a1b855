#include "ui/bldbedit.h"
#include "testmain.h"

#include <QApplication>
#include <QDataWidgetMapper>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

// Three boxes in a row on one form, the middle one a plain line edit.
class EntryForm : public QWidget {
public:
    EntryForm()
    {
        auto* layout = new QVBoxLayout(this);
        first = new TBlDBEdit(this);
        plain = new QLineEdit(this);
        last = new TBlDBEdit(this);
        layout->addWidget(first);
        layout->addWidget(plain);
        layout->addWidget(last);
    }
    TBlDBEdit* first;
    QLineEdit* plain;
    TBlDBEdit* last;
};

class BlDBEditTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryForm> form;

    static QColor shownBackground(QWidget* box)
    {
        return box->grab().toImage().pixelColor(box->width() / 2, box->height() / 2);
    }

private slots:
    void init()
    {
        form = std::make_unique<EntryForm>();
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->plain->setFocus(Qt::OtherFocusReason);
    }
    void cleanup()
    {
        form.reset();
        qApp->setStyleSheet(QString());
    }

    void defaults()
    {
        TBlDBEdit box;
        QCOMPARE(box.caseMode(), TBlDBEdit::cmProperCase);
        QCOMPARE(box.colorOnFocus(), QColor(255, 255, 0));
        QVERIFY(box.enterLikeTab());
        QVERIFY(box.cursorEndField());
        QCOMPARE(box.charCase(), TBlDBEdit::ecNormal);
        QVERIFY(!box.autoSelect());
        QCOMPARE(box.property("CaseMode").value<TBlDBEdit::TCaseMode>(), TBlDBEdit::cmProperCase);
    }

    void typingFollowsTheCaseMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("charCase");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        const int proper = TBlDBEdit::cmProperCase;
        const int normal = TBlDBEdit::ecNormal;
        QTest::newRow("proper case, empty box") << proper << normal << ""
                                                << "li ming"
                                                << "Li Ming";
        QTest::newRow("proper case, after a letter") << proper << normal << "abc"
                                                     << "x"
                                                     << "abcx";
        QTest::newRow("proper case, after a space") << proper << normal << "abc "
                                                    << "x"
                                                    << "abc X";
        QTest::newRow("proper case keeps typed capitals") << proper << normal << ""
                                                          << "mcDonald"
                                                          << "McDonald";
        QTest::newRow("lower") << int(TBlDBEdit::cmLowerCase) << normal << ""
                               << "ABc"
                               << "abc";
        QTest::newRow("upper") << int(TBlDBEdit::cmUpperCase) << normal << ""
                               << "abC d"
                               << "ABC D";
        QTest::newRow("normal") << int(TBlDBEdit::cmNormal) << normal << ""
                                << "aB c"
                                << "aB c";
        QTest::newRow("char case after case mode") << proper << int(TBlDBEdit::ecLowerCase) << ""
                                                   << "li ming"
                                                   << "li ming";
    }
    void typingFollowsTheCaseMode()
    {
        QFETCH(int, mode);
        QFETCH(int, charCase);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        TBlDBEdit* box = form->first;
        box->setCaseMode(TBlDBEdit::TCaseMode(mode));
        box->setCharCase(TBlDBEdit::TEditCharCase(charCase));
        box->setText(before);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), after);
    }

    void properCaseLooksAtTheCaret()
    {
        TBlDBEdit* box = form->first;
        box->setText("ab cd");
        box->setFocus(Qt::TabFocusReason);
        box->setCursorPosition(3); // just after the space
        QTest::keyClicks(box, "x");
        QCOMPARE(box->text(), QString("ab Xcd"));
        box->setCursorPosition(0);
        QTest::keyClicks(box, "y");
        QCOMPARE(box->text(), QString("Yab Xcd"));
    }

    void enterMovesOnAndTypesNothing()
    {
        form->first->setText("abc");
        form->first->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), form->plain);
        QCOMPARE(form->first->text(), QString("abc"));
        // Without EnterLikeTab the key is the line edit's own.
        form->last->setEnterLikeTab(false);
        form->last->setFocus(Qt::TabFocusReason);
        QSignalSpy returned(form->last, &QLineEdit::returnPressed);
        QTest::keyClick(form->last, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), form->last);
        QCOMPARE(returned.count(), 1);
    }

    void caretAtTheEndOnEntering()
    {
        form->first->setText("Li Ming");
        form->first->setFocus(Qt::TabFocusReason);
        QVERIFY(!form->first->hasSelectedText());
        QCOMPARE(form->first->cursorPosition(), 7);
        form->last->setText("Wang");
        form->last->setAutoSelect(true);
        form->last->setFocus(Qt::TabFocusReason);
        QCOMPARE(form->last->selectedText(), QString("Wang"));
    }

    void focusColourAndTheColourOfCreation()
    {
        TBlDBEdit* box = form->first;
        const QColor created = box->color();
        QSignalSpy entered(box, &TBlDBEdit::entered);
        QSignalSpy exited(box, &TBlDBEdit::exited);
        box->setColor(QColor(200, 220, 255)); // changed after creation
        box->setFocus(Qt::TabFocusReason);
        QCOMPARE(box->color(), QColor(255, 255, 0));
        QCOMPARE(shownBackground(box), QColor(255, 255, 0));
        form->plain->setFocus(Qt::TabFocusReason);
        QCOMPARE(box->color(), created);
        QCOMPARE(shownBackground(box), created);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(exited.count(), 1);
    }

    // The window themes colour focused boxes too; the box's own colour wins.
    void focusColourShowsUnderTheTheme()
    {
        QFile theme(":/themes/theme4.qss");
        QVERIFY(theme.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromUtf8(theme.readAll()));
        form->first->setFocus(Qt::TabFocusReason);
        QCOMPARE(shownBackground(form->first), QColor(255, 255, 0));
        form->plain->setFocus(Qt::TabFocusReason);
        QCOMPARE(shownBackground(form->first), shownBackground(form->last));
    }

    void boundToAModelColumn()
    {
        QStandardItemModel model(2, 2);
        model.setData(model.index(0, 1), "Old Title");
        model.setData(model.index(1, 1), "Second");
        QDataWidgetMapper mapper;
        mapper.setModel(&model);
        form->first->bindTo(&mapper, 1);
        mapper.toFirst();
        QCOMPARE(form->first->text(), QString("Old Title"));
        form->first->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(form->first, " two");
        QTest::keyClick(form->first, Qt::Key_Return); // leaves the box: written back
        QCoreApplication::processEvents();
        QCOMPARE(model.data(model.index(0, 1)).toString(), QString("Old Title Two"));
        mapper.toNext();
        QCOMPARE(form->first->text(), QString("Second"));
    }
};

LIBRARY_TEST(BlDBEditTest)
#include "bldbedittest.moc"
