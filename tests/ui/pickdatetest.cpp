#include "ui/pickdate.h"
#include "driver.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

class PickDateTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QString labelText(const TBrDateForm& form, const char* name)
    {
        return form.findChild<QLabel*>(name)->text();
    }
    static QPushButton* button(const TBrDateForm& form, const char* name)
    {
        return form.findChild<QPushButton*>(name);
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void layoutOfTheDialog()
    {
        TBrDateForm form;
        QCOMPARE(form.windowTitle(), QString("选择日期"));
        QCOMPARE(form.date(), Fixture::today());
        QCOMPARE(labelText(form, "YearLabel"), QString("2026"));
        QCOMPARE(labelText(form, "MonthLabel"), QString("12"));
        QCOMPARE(labelText(form, "DayLabel"), QString("9"));
        QStringList captions;
        for (const char* name :
             {"PrevYear", "NextYear", "PrevMonth", "NextMonth", "OkButton", "CloseButton"})
            captions << button(form, name)->text();
        QCOMPARE(captions,
                 QStringList({"上年&P", "下年&N", "上月&S", "下月&X", "确定&Y", "关闭&C "}));
        QVERIFY(button(form, "OkButton")->isDefault());

        // December 2026 begins on a Tuesday; weeks start on Sunday.
        auto* grid = form.findChild<QTableWidget*>("Calendar");
        QCOMPARE(grid->columnCount(), 7);
        QCOMPARE(grid->rowCount(), 6); // plus the weekday header row
        QCOMPARE(grid->horizontalHeaderItem(0)->text(),
                 QLocale::system().dayName(Qt::Sunday, QLocale::ShortFormat));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(),
                 QLocale::system().dayName(Qt::Monday, QLocale::ShortFormat));
        QCOMPARE(grid->item(0, 0)->text(), QString());
        QCOMPARE(grid->item(0, 2)->text(), QString("1"));
        QCOMPARE(grid->item(4, 4)->text(), QString("31"));
        QCOMPARE(grid->item(4, 5)->text(), QString());
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 3); // Wednesday the 9th
    }

    void stepping_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31 March back a month")
            << QDate(2026, 3, 31) << "PrevMonth" << QDate(2026, 2, 28);
        QTest::newRow("31 March back a month, leap year")
            << QDate(2024, 3, 31) << "PrevMonth" << QDate(2024, 2, 29);
        QTest::newRow("31 January on a month")
            << QDate(2026, 1, 31) << "NextMonth" << QDate(2026, 2, 28);
        QTest::newRow("January back into December")
            << QDate(2026, 1, 15) << "PrevMonth" << QDate(2025, 12, 15);
        QTest::newRow("December on into January")
            << QDate(2026, 12, 9) << "NextMonth" << QDate(2027, 1, 9);
        QTest::newRow("29 February on a year, clamped")
            << QDate(2024, 2, 29) << "NextYear" << QDate(2025, 2, 28);
        QTest::newRow("29 February back a year, clamped")
            << QDate(2024, 2, 29) << "PrevYear" << QDate(2023, 2, 28);
        QTest::newRow("year keeps month and day")
            << QDate(2026, 12, 9) << "PrevYear" << QDate(2025, 12, 9);
    }
    void stepping()
    {
        QFETCH(QDate, start);
        QFETCH(QString, buttonName);
        QFETCH(QDate, expected);
        TBrDateForm form(nullptr, start);
        button(form, qPrintable(buttonName))->click();
        QCOMPARE(form.date(), expected);
        QCOMPARE(labelText(form, "DayLabel"), QString::number(expected.day()));
        QCOMPARE(labelText(form, "MonthLabel"), QString::number(expected.month()));
    }

    void clickingCells()
    {
        TBrDateForm form;
        form.show();
        auto* grid = form.findChild<QTableWidget*>("Calendar");
        auto cellCentre = [grid](int row, int column) {
            return grid->visualItemRect(grid->item(row, column)).center();
        };
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(3, 5)); // the 25th
        QCOMPARE(form.date(), QDate(2026, 12, 25));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(0, 0)); // blank
        QCOMPARE(form.date(), QDate(2026, 12, 25));
        QCOMPARE(labelText(form, "DayLabel"), QString("25"));
        // A real double click: press and release, then the double click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2, 1)); // the 14th
        QVERIFY(form.isVisible());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
        QCOMPARE(form.date(), QDate(2026, 12, 14));
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void enterGoesToOkThenAccepts()
    {
        TBrDateForm form;
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* grid = form.findChild<QTableWidget*>("Calendar");
        QCOMPARE(QApplication::focusWidget(), grid);
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(form.isVisible());
        QCOMPARE(QApplication::focusWidget(), button(form, "OkButton"));
        // Enter on a stepping button or on the dialog itself also only goes to OK.
        button(form, "PrevMonth")->setFocus();
        QTest::keyClick(button(form, "PrevMonth"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), button(form, "OkButton"));
        grid->setFocus();
        QTest::keyClick(&form, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), button(form, "OkButton"));
        QCOMPARE(form.date(), Fixture::today());
        QVERIFY(form.isVisible());
        QTest::keyClick(button(form, "OkButton"), Qt::Key_Return);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.date(), Fixture::today());
    }

    void escapeCancels()
    {
        TBrDateForm form;
        form.show();
        QTest::keyClick(form.findChild<QTableWidget*>("Calendar"), Qt::Key_Escape);
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }

    // The real modal dialog, answered at once with OK, gives today.
    void pickOkAtOnceGivesToday()
    {
        Messages::setScripted(false);
        QTimer::singleShot(0, [] {
            auto* form = qobject_cast<TBrDateForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            form->findChild<QPushButton*>("OkButton")->click();
        });
        const std::optional<QDate> picked = TBrDateForm::pick(nullptr);
        Messages::setScripted(true);
        QCOMPARE(picked, std::optional<QDate>(Fixture::today()));
    }

    // The date shown when OK is pressed is the answer; Close gives none.
    void pickAnswersTheShownDateOrNone()
    {
        std::optional<QDate> picked;
        QVERIFY(Driver::pickDate(QDate(2026, 3, 5), [&] { picked = TBrDateForm::pick(nullptr); }));
        QCOMPARE(picked, std::optional<QDate>(QDate(2026, 3, 5)));
        QVERIFY(Driver::pickDate(std::nullopt, [&] { picked = TBrDateForm::pick(nullptr); }));
        QCOMPARE(picked, std::nullopt);
    }
};

LIBRARY_TEST(PickDateTest)
#include "pickdatetest.moc"
