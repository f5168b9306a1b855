#pragma once

#include <QWidget>

class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class QueryGridModel;

// "图书信息查询": the classification scheme as a tree, and the titles of the class chosen in
// it. A first-level class lists every title of that first-level code, a second-level
// class only the titles of its own code. A title's full record opens from the grid.
class TFormtsbmjs : public QWidget {
    Q_OBJECT
public:
    explicit TFormtsbmjs(QWidget* parent = nullptr);

    // The tree's pictures: a class with classes under it, closed or open; one without.
    enum Image { Closed = 0, Open = 1, Leaf = 2 };
    static constexpr int imageRole = Qt::UserRole + 1;

    // Rebuilds the tree from the scheme ("刷新").
    void buildTree();
    void expandAll(bool expand);

private:
    void nodeSelected(QTreeWidgetItem* node);
    void showBook();
    void setImage(QTreeWidgetItem* node);

    QTreeWidget* m_tree = nullptr; // TreeView1
    QTableView* m_grid = nullptr;  // DBGrid1
    QueryGridModel* m_model = nullptr;
};
