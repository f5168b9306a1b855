#pragma once

#include "desk/cardquery.h"

#include <QImage>
#include <QWidget>

class CardGrid;
class CardGridModel;
class DateBox;
class QLabel;
class QLineEdit;

// "借书证查询": cards by number, reader name and issue date with their count and deposit
// total; a card's photograph, corrections in the grid, a reprint of the card and the
// export of the cards issued in a date range.
class Tkpcxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tkpcxfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 3;

    bool isQueried() const { return m_queried; }
    // The card whose photograph is shown, or empty.
    QString photoCard() const { return m_photoCard; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildScreen();
    void checkRange(const QDate& to);
    bool readDates(QDate* from, QDate* to);
    void queryClick();
    void saveClick();
    void resetPinClick();
    bool storePending(); // false when a correction was refused or failed
    void reprint();
    void exportClick();
    void showPhoto(int row);
    void closeScreen();

    QLineEdit* m_number = nullptr; // Edit1
    QLineEdit* m_name = nullptr;   // Edit3
    QLineEdit* m_from = nullptr;   // Edit4
    QLineEdit* m_to = nullptr;     // Edit2
    DateBox* m_fromBox = nullptr;
    DateBox* m_toBox = nullptr;
    QLabel* m_photo = nullptr; // Image1
    CardGrid* m_grid = nullptr;
    CardGridModel* m_model = nullptr;
    QLabel* m_countPanel = nullptr;
    QLabel* m_depositPanel = nullptr;
    CardSelection m_selection;
    bool m_queried = false;
    QString m_photoCard;
    QImage m_photoImage;
};
