#pragma once

#include "desk/bookquery.h"

#include <QMap>
#include <QWidget>

class BookQueryModel;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class TBlDBEdit;

// "图书编目查询": titles of the book master by any of fifteen conditions, shown record by
// record in boxes (which correct the title) and in a grid; prints the catalogue report and
// the barcode labels of the titles chosen in the grid, deletes a title as cataloguing does,
// and exports the whole book master.
class Tbmcxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tbmcxfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 6;

    bool inResultMode() const { return m_resultMode; }
    // The statement of the last query with rows.
    const BookQueryStatement& listed() const { return m_listed; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void FormShow();
    void conditionMode();
    void resultMode();
    void loadFirstLevelCodes();
    bool checkDate(QLineEdit* box);
    bool checkPages();
    bool checkSecondLevel();
    bool readConditions(BookQueryConditions* conditions);
    void queryClick();
    void requeryClick();
    void deleteClick();
    void printClick();
    void labelsClick(); // barcode labels for the chosen titles' copies
    void exportClick();
    void showCurrent();
    bool storePending(); // false when a correction was refused or failed
    bool reopen();       // runs the listed statement again; false when it failed

    // condition boxes
    QLineEdit* m_secondLevelCode = nullptr; // Edit8
    QLineEdit* m_barcode = nullptr;         // Edit1
    QLineEdit* m_title = nullptr;           // Edit2
    QLineEdit* m_author = nullptr;          // Edit3
    QLineEdit* m_cataloguer = nullptr;      // Edit4
    QLineEdit* m_catalogued = nullptr;      // Edit5
    QLineEdit* m_published = nullptr;       // edit6
    QLineEdit* m_publisher = nullptr;       // Edit7
    QLineEdit* m_series = nullptr;          // Edit9
    QLineEdit* m_mnemonic = nullptr;        // Edit12
    QComboBox* m_language = nullptr;        // ComboBox1
    QComboBox* m_firstLevel = nullptr;      // ComboBox2
    QLineEdit* m_firstLevelName = nullptr;  // Edit13
    QLineEdit* m_secondLevel = nullptr;     // Edit14
    QLineEdit* m_shelf = nullptr;           // Edit10
    QLineEdit* m_pages = nullptr;           // Edit11
    QList<QWidget*> m_resultPlaces;         // condition boxes that give way to result boxes
    QString m_secondLevelChecked;           // the text of Edit8 the last look-up settled
    // result boxes, named by their columns
    QMap<QString, TBlDBEdit*> m_resultBoxes;

    QTableView* m_grid = nullptr;
    BookQueryModel* m_model = nullptr;
    BookQueryStatement m_listed;
    BookQueryConditions m_listedConditions;
    bool m_resultMode = false;
    bool m_showing = false;           // result boxes are being filled, not typed
    QMap<QString, QString> m_pending; // corrections typed into the result boxes
    int m_pendingRow = -1;
};
