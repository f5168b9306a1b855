#pragma once

#include <QWidget>

class QStandardItemModel;
class QTableView;

// "借阅室管理": the library rooms in a grid, edited in place after "新增&N" or
// "修改&E". Enter checks each value as it is typed; numbers and names stay unique.
class Ttssglfm : public QWidget {
    Q_OBJECT
public:
    explicit Ttssglfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 11;
    enum class Mode { Browsing, Adding, Changing };
    Mode mode() const { return m_mode; }

    // What Enter does in the grid (also pressed by the grid's editors).
    void enterInGrid();

private:
    void reload(const QString& selectNumber = QString());
    void addClick();
    void changeClick();
    void saveClick();
    void deleteClick();
    void dropPending();
    void editCell(int row, int column);
    QString cell(int row, int column) const;
    int currentRow() const;
    void setEditable(bool editable);

    QTableView* m_grid = nullptr;
    QStandardItemModel* m_model = nullptr;
    Mode m_mode = Mode::Browsing;
    QString m_original; // number of the room being changed
};
