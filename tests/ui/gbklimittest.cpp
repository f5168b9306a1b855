#include "ui/gbklimit.h"
#include "testmain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {
// Types each character as a key press carrying its text, as an input method does.
void type(QLineEdit& box, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&box, &press);
    }
}
} // namespace

class GbkLimitTest : public QObject {
    Q_OBJECT

private slots:
    void typingStopsAtTheColumnWidth()
    {
        QLineEdit name;
        GbkLimit::apply(&name, 8); // a name column of text(8)
        type(name, "李明张三王");
        QCOMPARE(name.text(), QString("李明张三"));
        QLineEdit shelf;
        GbkLimit::apply(&shelf, 6);
        type(shelf, "A1-02-03");
        QCOMPARE(shelf.text(), QString("A1-02-"));
    }
};

LIBRARY_TEST(GbkLimitTest)
#include "gbklimittest.moc"
