#pragma once

#include "data/money.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariantMap>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTableView;
class QToolButton;

// The card grades (`jykdjk`) as the grade screen edits them: the stored rows in grade
// order, the current row, and a buffer for the row being edited or added. Nothing is
// written until the screen writes the buffer.
class GradeTable {
public:
    enum class State { Browse, Edit, Insert };

    // The columns edited through the buffer, as the boxes show them.
    static const QStringList& bufferColumns();

    void open();
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // The current stored row; while a new row is being added it is the row after the last.
    int currentIndex() const { return m_state == State::Insert ? rowCount() : m_current; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state != State::Browse; }
    bool isModified() const { return m_modified; }

    // The current row's column as its box shows it ("" for blank, "0.00" for amounts).
    QString field(const QString& column) const;
    // A stored row's column as the grid shows it.
    QString storedText(int row, const QString& column) const;
    QVariant storedValue(int row, const QString& column) const;

    void edit(); // on an empty table this starts a new row
    void append();
    void cancel();
    void setField(const QString& column, const QString& text);

    // Writes the buffer (new row or changed row). Throws StoreError; the table itself
    // changes only through afterWrite, once the writing action has committed.
    void write() const;
    // Rereads the rows and makes the written grade current.
    void afterWrite(const QString& grade);
    // Writes the rules the screen keeps outside the bound boxes into the stored row of
    // the grade: the fine per day late, the renewals allowed and the validity of a new card.
    static void writeRules(const QString& grade, Money finePerDay, int renewals, int validDays);

    void removeCurrent(); // a new row not yet written is just dropped
    void moveTo(int index);

private:
    QVariantMap currentStored() const;
    void reload();

    QList<QVariantMap> m_rows;
    QVariantMap m_buffer; // column -> box text
    int m_current = 0;
    State m_state = State::Browse;
    bool m_modified = false;
};

// Two small arrow buttons with a position of their own (0…100): a click that moves
// the position reports the step; a click at a bound does nothing.
class UpDownStepper : public QWidget {
    Q_OBJECT
public:
    explicit UpDownStepper(QWidget* parent = nullptr);
    int position() const { return m_position; }
    static constexpr int minimum = 0;
    static constexpr int maximum = 100;

signals:
    void stepped(int delta);

private:
    void step(int delta);
    int m_position = minimum;
};

// "借书证等级设置": keeps the card grades with their borrowing rules and charges.
class Tkpszfm : public QDialog {
    Q_OBJECT
public:
    explicit Tkpszfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 13;

    const GradeTable& table() const { return m_table; }
    bool chooserOnTop() const;

public slots:
    void reject() override; // every way of closing goes through the closing rule

private:
    void buildScreen();
    void FormShow();
    void saveClick();
    void addClick();
    void deleteClick();
    bool moveTo(int index);
    bool leaveCurrentRow(int& index);
    void afterMove();
    void showRuleBoxes();
    void stepLoanPeriod(int delta);
    void boundEdited(QLineEdit* box, const QString& column, const QString& text);

    bool requiredFieldsComplete();
    bool writeCurrentRow(bool withRuleBoxes);
    QString cardType() const;
    void showChooser();
    void showCardNameBox();
    void showRow(QLineEdit* except = nullptr);
    void refreshGrid();

    GradeTable m_table;
    bool m_complete = false; // set by the required-field check

    QLineEdit* m_grade = nullptr;    // DBEdit6
    QLineEdit* m_cardName = nullptr; // DBEdit7
    QComboBox* m_chooser = nullptr;  // ComboBox1
    QStackedWidget* m_cardTypeStack = nullptr;
    QLineEdit* m_fee = nullptr;         // DBEdit1
    QLineEdit* m_amount = nullptr;      // DBEdit2
    QLineEdit* m_loanPeriod = nullptr;  // DBEdit3
    QLineEdit* m_maxBooks = nullptr;    // DBEdit4
    QLineEdit* m_deposit = nullptr;     // DBEdit5
    QLineEdit* m_renewals = nullptr;    // Edit1
    QLineEdit* m_fine = nullptr;        // Edit2
    QLineEdit* m_validity = nullptr;    // Edit3
    UpDownStepper* m_stepper = nullptr; // UpDown1
    QPushButton* m_save = nullptr;
    QToolButton* m_prior = nullptr;
    QToolButton* m_next = nullptr;
    QTableView* m_grid = nullptr;
    QStandardItemModel* m_gridModel = nullptr;
    QList<QPair<QLineEdit*, QString>> m_bound; // box and its column
};
