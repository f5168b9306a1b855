#pragma once

#include "desk/periodicals.h"

#include <QList>
#include <QPair>

class QSqlQueryModel;
class QTableView;
class QWidget;

// The grids of the reading-room screens: a lazily read result with the row indicator,
// whole-row selection, the selection shown also without the focus, centred titles.
namespace PeriodicalGrid {
using Column = QPair<const char*, const char*>; // column name, title
QTableView* create(QWidget* parent, QSqlQueryModel* model, const char* objectName);
// Runs the selection into the model and titles the listed columns; the others hide.
void show(QTableView* grid, QSqlQueryModel* model, const Selection& selection,
          const QList<Column>& columns);
} // namespace PeriodicalGrid
