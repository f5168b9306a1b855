#pragma once

#include "desk/booksearch.h"

#include <QWidget>

class ColumnsModel;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

// "图书信息查询": tells a reader whether the library holds a book, in which room, and
// whether a copy is free. Exact-match conditions on the desk's side; the result shows
// each book with its room, copies and copies on loan, and prints as the library query
// report.
class Tdzjsfm : public QWidget {
    Q_OBJECT
public:
    explicit Tdzjsfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 22;

    bool isPrintable() const { return m_printable; }
    bool inResultMode() const { return m_resultMode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void FormShow();
    void conditionMode();
    void resultMode();
    void queryClick();
    void requeryClick();
    void printClick();
    void showCurrent();
    void step(int delta);
    BookSearchConditions conditions(bool* ok);

    // condition boxes
    QLineEdit* m_barcode = nullptr;   // Edit1
    QComboBox* m_room = nullptr;      // ComboBox2
    QLineEdit* m_author = nullptr;    // Edit3
    QLineEdit* m_series = nullptr;    // Edit4
    QLineEdit* m_title = nullptr;     // Edit5
    QLineEdit* m_publisher = nullptr; // Edit6
    QLineEdit* m_published = nullptr; // Edit7
    QPushButton* m_dateButton = nullptr;
    QComboBox* m_language = nullptr; // ComboBox1
    QComboBox* m_class = nullptr;    // ComboBox3
    QList<QWidget*> m_conditionWidgets;
    QList<QWidget*> m_chain;
    // result boxes, in the places of the condition boxes
    QList<QLineEdit*> m_resultBoxes;
    QStringList m_resultColumns;

    QPushButton* m_query = nullptr;
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
    BookSearchStatement m_listed;
    bool m_printable = false;
    bool m_resultMode = false;
};
