#include "readingroom/periodicalgrid.h"

#include "data/sql.h"

#include <QHeaderView>
#include <QPalette>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>

QTableView* PeriodicalGrid::create(QWidget* parent, QSqlQueryModel* model, const char* objectName)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    // The selected row stays marked while another control has the focus.
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    grid->setPalette(palette);
    return grid;
}

void PeriodicalGrid::show(QTableView* grid, QSqlQueryModel* model, const Selection& selection,
                          const QList<Column>& columns)
{
    Sql q(selection.statement);
    q.bindAll(selection.values).exec();
    model->setQuery(q.takeQuery());
    const QSqlRecord record = model->record();
    for (int i = 0; i < record.count(); ++i)
        grid->setColumnHidden(i, true);
    for (const Column& column : columns) {
        const int i = record.indexOf(column.first);
        if (i < 0)
            continue;
        model->setHeaderData(i, Qt::Horizontal, QString::fromUtf8(column.second));
        grid->setColumnHidden(i, false);
    }
    if (model->rowCount() > 0)
        grid->selectRow(0);
}
