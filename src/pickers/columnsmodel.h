#pragma once

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStringList>

#include <functional>

class QTableView;

// A lazy result grid that shows chosen columns of its query, by name, under its own
// titles; the titles stay while no query is open. Rows are fetched as the grid scrolls.
//
//   auto* model = new ColumnsModel({{"txm", "图书条形码"}, {"tsmc", "图书名称"}}, this);
//   model->open(Sql("select * from tszk where tsmc like :t").bind(text + "%"));
class ColumnsModel : public QSqlQueryModel {
    Q_OBJECT
public:
    struct Column {
        QString name;  // the result column (case-insensitive)
        QString title; // the grid's title
        // How a value reads in the grid; the stored text when not set.
        std::function<QString(const QVariant&)> format = {};
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    };

    explicit ColumnsModel(QList<Column> columns, QObject* parent = nullptr);

    // Shows the rows of an executed statement (Sql::takeQuery()).
    void show(QSqlQuery&& query);
    void close(); // no rows, titles kept

    // The current value of a column of a row by its name, or invalid.
    QVariant value(int row, const QString& column) const;
    QString text(int row, const QString& column) const;
    // Every row fetched so far is counted; fetches the rest first.
    int countAll();

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The usual read-only grid: whole rows, one at a time, centred titles.
    static void setUpGrid(QTableView* grid, ColumnsModel* model);

    // Money columns with two decimals; blank stays blank.
    static QString twoDecimals(const QVariant& value);

private:
    QList<Column> m_columns;
};
