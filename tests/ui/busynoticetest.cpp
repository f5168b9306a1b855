#include "testmain.h"
#include "ui/tsfm.h"

#include <QLabel>
#include <QTest>
#include <stdexcept>

class BusyNoticeTest : public QObject {
    Q_OBJECT

    static QString shownText()
    {
        Ttsfm* notice = BusyNotice::shown();
        return notice && notice->isVisible() ? notice->findChild<QLabel*>("lts")->text()
                                             : QString();
    }

private slots:
    void shownDuringTheWorkOnly()
    {
        QWidget owner;
        QString during;
        BusyNotice::run(&owner, "系统正在导出数据,请稍候...", [&] {
            during = shownText();
            QVERIFY(BusyNotice::shown()->windowFlags().testFlag(Qt::FramelessWindowHint));
        });
        QCOMPARE(during, QString("系统正在导出数据,请稍候..."));
        QCOMPARE(BusyNotice::shown(), nullptr);
    }

    void closedWhenTheWorkThrows()
    {
        QPointer<Ttsfm> window;
        try {
            BusyNotice::run(nullptr, "x", [&] {
                window = BusyNotice::shown();
                throw std::runtime_error("disk full");
            });
            QFAIL("the failure should pass through");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCOMPARE(BusyNotice::shown(), nullptr);
    }

    void nestedNoticeOnlyChangesTheText()
    {
        BusyNotice outer(nullptr, "outer");
        Ttsfm* window = BusyNotice::shown();
        {
            BusyNotice inner(nullptr, "inner");
            QCOMPARE(BusyNotice::shown(), window);
            QCOMPARE(shownText(), QString("inner"));
        }
        QCOMPARE(shownText(), QString("outer"));
    }
};

LIBRARY_TEST(BusyNoticeTest)
#include "busynoticetest.moc"
