#include "testmain.h"
#include "ui/gbklimit.h"

#include <QLineEdit>
#include <QTest>

class GbkLimitTest : public QObject {
    Q_OBJECT

private slots:
    void typingStopsAtTheColumnWidth()
    {
        QLineEdit name;
        GbkLimit::apply(&name, 8); // a name column of text(8)
        QTest::keyClicks(&name, "李明张三王");
        QCOMPARE(name.text(), QString("李明张三"));
        QLineEdit shelf;
        GbkLimit::apply(&shelf, 6);
        QTest::keyClicks(&shelf, "A1-02-03");
        QCOMPARE(shelf.text(), QString("A1-02-"));
    }
};

LIBRARY_TEST(GbkLimitTest)
#include "gbklimittest.moc"
