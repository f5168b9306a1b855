#pragma once

#include "desk/periodicals.h"

#include <QDialog>

class QueryGridModel;
class QTableView;

// "查询信息": the register rows a look-up found, to choose one. Closing it in any way
// leaves the row under the cursor as the choice.
class TFormqkcx : public QDialog {
    Q_OBJECT
public:
    TFormqkcx(const Selection& rows, QWidget* parent = nullptr);

    // iid of the row under the cursor, 0 when there is none.
    qint64 chosen() const;

    // Runs the list over the rows and returns the row chosen (empty when none).
    static Periodical choose(const Selection& rows, QWidget* parent);

private:
    QTableView* m_grid = nullptr; // DBGrid1
    QueryGridModel* m_model = nullptr;
};
