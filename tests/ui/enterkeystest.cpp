#include "testmain.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class EnterKeysTest : public QObject {
    Q_OBJECT

private slots:
    void enterPressesTheFocusedButtonOnce()
    {
        QWidget screen;
        auto* save = new QPushButton("保存", &screen);
        auto* close = new QPushButton("关闭", &screen);
        auto* layout = new QVBoxLayout(&screen);
        layout->addWidget(save);
        layout->addWidget(close);
        screen.show();
        QApplication::setActiveWindow(&screen);
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        QSignalSpy saved(save, &QPushButton::clicked);
        QSignalSpy closed(close, &QPushButton::clicked);
        save->setFocus();
        QTest::keyClick(save, Qt::Key_Return);
        QTest::keyClick(save, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(saved.count(), 2);
        QCOMPARE(closed.count(), 0);
        save->setEnabled(false);
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        QCOMPARE(closed.count(), 1);
    }
};

LIBRARY_TEST(EnterKeysTest)
#include "enterkeystest.moc"
