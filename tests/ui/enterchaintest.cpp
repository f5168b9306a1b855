#include "ui/enterchain.h"
#include "testmain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Enter walks a screen's boxes in the given order and ends on its button.
class EnterChainTest : public QObject {
    Q_OBJECT

private slots:
    void enterMovesAlongTheChainAndEndsOnTheButton()
    {
        QWidget screen;
        auto* card = new QLineEdit(&screen);
        auto* grade = new QComboBox(&screen);
        grade->setEditable(true);
        auto* barcode = new QLineEdit(&screen);
        auto* save = new QPushButton("保存", &screen);
        int saved = 0;
        connect(save, &QPushButton::clicked, [&] { ++saved; });
        bool cardFound = false;
        EnterChain::link(&screen, {card, grade, barcode, save})->onEnter(card, [&] {
            return cardFound;
        });
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));

        card->setFocus();
        QTest::keyClicks(card, "1001");
        QTest::keyClick(card, Qt::Key_Return); // the look-up failed: stay
        QCOMPARE(QApplication::focusWidget(), card);
        cardFound = true;
        QTest::keyClick(card, Qt::Key_Enter, Qt::KeypadModifier); // keypad Enter too
        QVERIFY(grade->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), barcode);
        QTest::keyClicks(barcode, "B0001\r"); // a scanner: the code and Enter
        QCOMPARE(QApplication::focusWidget(), save);
        QCOMPARE(saved, 0); // the chain only reaches the button
    }
};

LIBRARY_TEST(EnterChainTest)
#include "enterchaintest.moc"
