#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Enter moves the focus along a screen's boxes, as Tab would but in the desk's own order.
// The last link may be a button: Enter there presses it (see EnterKeys), so a barcode
// scanner that sends the code and Enter walks the chain and ends on the screen's action.
//
//   EnterChain::link(this, {m_card, m_barcode, m_saveButton})
//       ->onEnter(m_card, [this] { return lookUpCard(); }); // moves on only when true
//
// An editable combo box is one link (its line edit is handled with it). One box may
// appear in several chains; the last link added for a box wins.
class EnterChain : public QObject {
    Q_OBJECT
public:
    static EnterChain* link(QWidget* screen, const QList<QWidget*>& boxes);

    // Enter in `from` goes to `to` (a hop outside the straight order).
    EnterChain* hop(QWidget* from, QWidget* to);
    // Enter in `box` runs `step` first; the focus moves on only when it returns true.
    // A step that moves the focus itself returns false.
    EnterChain* onEnter(QWidget* box, std::function<bool()> step);

    // What Enter does in `box` (tests and screens that press Enter themselves).
    void enter(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit EnterChain(QWidget* screen);
    void watch(QWidget* box);
    QWidget* linkOf(QObject* watched) const;

    QHash<QWidget*, QPointer<QWidget>> m_next;
    QHash<QWidget*, std::function<bool()>> m_steps;
};
