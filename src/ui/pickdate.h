#pragma once

#include <QDate>
#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

// The date picker "选择日期": a month calendar with year and month stepping.
// It opens on today's date; OK (also a double click on the calendar) returns the
// shown date, Close (also Esc) cancels. Enter anywhere moves the focus to OK, and
// Enter on OK accepts.
//
//   if (auto date = TBrDateForm::pick(this))
//       edit->setText(Dates::toText(*date));

class TBrDateForm : public QDialog {
    Q_OBJECT
public:
    explicit TBrDateForm(QWidget* parent = nullptr, QDate initial = QDate());

    // Runs the picker modally; an invalid `initial` means today.
    static std::optional<QDate> pick(QWidget* parent, QDate initial = QDate());

    QDate date() const { return m_date; }
    void setDate(QDate date);

    // The steps of the four buttons. A month step keeps the day when the target
    // month has it and otherwise takes its last day; a year step from 29 February
    // into a year without it lands on 28 February.
    void previousYear() { setDate(m_date.addYears(-1)); }
    void nextYear() { setDate(m_date.addYears(1)); }
    void previousMonth() { setDate(m_date.addMonths(-1)); }
    void nextMonth() { setDate(m_date.addMonths(1)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildCalendar();
    void fillCalendar();
    void cellChosen(int row, int column);
    QDate dateAt(int row, int column) const;

    QDate m_date;
    QLabel* m_year = nullptr;
    QLabel* m_month = nullptr;
    QLabel* m_day = nullptr;
    QTableWidget* m_calendar = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_filling = false;
};
