#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

// "旧书处理": one title's worn or surplus copies leave the collection, scrapped or sold
// at a reduced price. The title is looked up by barcode or part of its title; the
// disposal is one transaction (see Disposal::dispose).
class Tjsclfm : public QWidget {
    Q_OBJECT
public:
    explicit Tjsclfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 19;

    // The copies held of the title the last look-up found.
    int heldCopies() const { return m_held; }

private:
    void buildScreen();
    bool lookUp();
    void pickAll();
    void take(const QString& barcode, const QString& title, int held);
    void methodChosen(int index);
    void setAmountEditable(bool editable);
    bool checkAmount();
    bool checkQuantity();
    void disposeClick();
    void clearBoxes();

    QLineEdit* m_barcode = nullptr;  // Edit1
    QPushButton* m_pick = nullptr;   // >>>
    QLineEdit* m_title = nullptr;    // Edit2
    QLineEdit* m_quantity = nullptr; // Edit3
    QComboBox* m_method = nullptr;   // ComboBox1
    QLineEdit* m_amount = nullptr;   // Edit4
    QLineEdit* m_remark = nullptr;   // Edit5
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
    int m_held = 0;
};
