#include "ui/pickdate.h"

#include "data/clock.h"
#include "ui/enterkeys.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int weekRows = 6;
constexpr int weekDays = 7;

// Column of the first day of the month: weeks start on Sunday.
int leadingBlanks(QDate firstOfMonth)
{
    return firstOfMonth.dayOfWeek() % 7;
}

QLabel* numberLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
} // namespace

TBrDateForm::TBrDateForm(QWidget* parent, QDate initial)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_date(initial.isValid() ? initial : Clock::today())
{
    setObjectName("BrDateForm");
    setWindowTitle(QString::fromUtf8("选择日期"));
    setProperty(EnterKeys::ownRulesProperty, true); // Enter on a step button goes to OK

    auto* header = new QHBoxLayout;
    m_year = numberLabel(this, "YearLabel");
    m_month = numberLabel(this, "MonthLabel");
    m_day = numberLabel(this, "DayLabel");
    header->addWidget(m_year);
    header->addWidget(new QLabel(QString::fromUtf8("年"), this));
    header->addWidget(m_month);
    header->addWidget(new QLabel(QString::fromUtf8("月"), this));
    header->addWidget(m_day);
    header->addWidget(new QLabel(QString::fromUtf8("日"), this));
    header->addStretch();

    buildCalendar();

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const char* name, const char* caption, auto step) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, step);
        buttons->addWidget(button);
        return button;
    };
    addButton("PrevYear", "上年&P", [this] { previousYear(); });
    addButton("NextYear", "下年&N", [this] { nextYear(); });
    addButton("PrevMonth", "上月&S", [this] { previousMonth(); });
    addButton("NextMonth", "下月&X", [this] { nextMonth(); });
    buttons->addStretch();
    m_ok = addButton("OkButton", "确定&Y", [this] { accept(); });
    m_ok->setDefault(true);
    addButton("CloseButton", "关闭&C ", [this] { reject(); });

    auto* body = new QHBoxLayout;
    body->addWidget(m_calendar, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(body);

    // Enter anywhere moves to OK; the filter sees the keys before the children do.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    fillCalendar();
    m_calendar->setFocus();
}

void TBrDateForm::buildCalendar()
{
    m_calendar = new QTableWidget(weekRows, weekDays, this);
    m_calendar->setObjectName("Calendar");
    m_calendar->verticalHeader()->hide();
    m_calendar->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_calendar->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_calendar->horizontalHeader()->setSectionsClickable(false);
    m_calendar->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_calendar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_calendar->setMinimumSize(320, 200);
    const QLocale locale = QLocale::system();
    QStringList names;
    names << locale.dayName(Qt::Sunday, QLocale::ShortFormat);
    for (int day = Qt::Monday; day <= Qt::Saturday; ++day)
        names << locale.dayName(day, QLocale::ShortFormat);
    m_calendar->setHorizontalHeaderLabels(names);

    connect(m_calendar, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { cellChosen(row, column); });
    connect(m_calendar, &QTableWidget::cellClicked, this,
            [this](int row, int column) { cellChosen(row, column); });
    connect(m_calendar, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
}

QDate TBrDateForm::dateAt(int row, int column) const
{
    const QDate first(m_date.year(), m_date.month(), 1);
    const int day = row * weekDays + column - leadingBlanks(first) + 1;
    if (day < 1 || day > first.daysInMonth())
        return {};
    return QDate(m_date.year(), m_date.month(), day);
}

void TBrDateForm::fillCalendar()
{
    m_filling = true;
    const QDate first(m_date.year(), m_date.month(), 1);
    for (int row = 0; row < weekRows; ++row) {
        for (int column = 0; column < weekDays; ++column) {
            QTableWidgetItem* item = m_calendar->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                m_calendar->setItem(row, column, item);
            }
            const QDate date = dateAt(row, column);
            item->setText(date.isValid() ? QString::number(date.day()) : QString());
            // Blank cells cannot be selected.
            item->setFlags(date.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                          : Qt::ItemIsEnabled);
        }
    }
    const int cell = leadingBlanks(first) + m_date.day() - 1;
    if (m_calendar->currentRow() != cell / weekDays ||
        m_calendar->currentColumn() != cell % weekDays)
        m_calendar->setCurrentCell(cell / weekDays, cell % weekDays);
    m_year->setText(QString::number(m_date.year()));
    m_month->setText(QString::number(m_date.month()));
    m_day->setText(QString::number(m_date.day()));
    m_filling = false;
}

void TBrDateForm::cellChosen(int row, int column)
{
    if (m_filling)
        return;
    const QDate date = dateAt(row, column);
    // A blank cell changes nothing: the shown date keeps its cell.
    setDate(date.isValid() ? date : m_date);
}

void TBrDateForm::setDate(QDate date)
{
    if (!date.isValid())
        return;
    m_date = date;
    fillCalendar();
}

bool TBrDateForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (focusWidget() == m_ok)
                accept();
            else
                m_ok->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBrDateForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

std::optional<QDate> TBrDateForm::pick(QWidget* parent, QDate initial)
{
    auto* dialog = new TBrDateForm(parent, initial);
    std::optional<QDate> picked;
    connect(dialog, &QDialog::accepted, dialog, [&picked, dialog] { picked = dialog->date(); });
    Windows::runModal(dialog);
    return picked;
}
