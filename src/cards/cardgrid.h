#pragma once

#include "desk/cardquery.h"
#include "desk/cardrecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QMap>
#include <QSqlRecord>
#include <QTableView>
#include <QVector>

// The cards a card query lists, read a page at a time, so that the last row of a long list
// is at hand without reading every row before it. Cells can be corrected (all but the card
// number); corrections of one row wait in the model until the screen stores them.
class CardGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int pageRows = 200;

    // Lists `count` cards of the selection (the count comes with its summary).
    void list(const CardSelection& selection, int count);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The column of `cardk` a grid column shows.
    static QString columnName(int column);

    CardRecord card(int row) const;

    // Corrections waiting to be stored: their row and column -> typed text.
    bool hasPending() const { return !m_pending.isEmpty(); }
    int pendingRow() const { return m_pendingRow; }
    QMap<QString, QString> pending() const { return m_pending; }
    // After storing: the row is read again as it is stored now.
    void pendingStored();
    void dropPending();

private:
    QSqlRecord record(int row) const;

    CardSelection m_selection;
    int m_count = 0;
    mutable QHash<int, QVector<QSqlRecord>> m_pages;
    int m_pendingRow = -1;
    QMap<QString, QString> m_pending;
};

// The grid of the card query: an open cell editor can be told to hand over its text.
class CardGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    void commitOpenEditor();
    // Esc while a cell is being edited leaves the cell as it was.
    bool cancelOpenEditor();
};
