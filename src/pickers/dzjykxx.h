#pragma once

#include "desk/loans.h"

#include <QDialog>
#include <QString>

class QueryGridModel;
class QLineEdit;
class QTableView;

// "读者借阅卡信息": the card picker. Opened over the valid cards that a typed card-number
// prefix matched (or over every valid card); a filter lists cards of every validity by
// number or reader-name prefix. However it closes, it answers with the card under the
// cursor:
//
//   const QString number = Tdzjykxxfm::pick(typedPrefix, this);
class Tdzjykxxfm : public QDialog {
    Q_OBJECT
public:
    // A null prefix lists every valid card.
    explicit Tdzjykxxfm(const QString& prefix, QWidget* parent = nullptr);
    // Opened over the cards the caller matched.
    explicit Tdzjykxxfm(const Listing& cards, QWidget* parent = nullptr);

    // Runs the picker modally; the chosen card number, or "" when the list was empty.
    static QString pick(const QString& prefix, QWidget* parent);
    static QString pick(const Listing& cards, QWidget* parent);

    QString chosenNumber() const { return m_chosen; }

    void done(int result) override; // every way of closing answers with the current card

private:
    void buildScreen();
    void load(const QString& statement, const QVariantList& values);
    void filterChanged(const QString& text);

    QLineEdit* m_filter = nullptr; // Edit1
    QTableView* m_grid = nullptr;  // DBGrid1
    QueryGridModel* m_model = nullptr;
    QString m_chosen;
};
