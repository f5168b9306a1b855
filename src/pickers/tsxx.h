#pragma once

#include <QDialog>
#include <QSqlRecord>
#include <QVariantList>

class ColumnsModel;
class QComboBox;
class QLineEdit;
class QTableView;

// "图书信息": the book picker. Shown over the caller's list of matching books (any
// statement over `tszk` that selects its columns); the operator may narrow the list by
// the start of the mnemonic or title (letter case counts) and by first-level class.
// However it is closed, the answer is the book under the cursor.
//
//   Ttsxxfm picker("select * from tszk where (txm like:txm) or (tsmc like:tsmc)",
//                  {text + "%", "%" + text + "%"}, this);
//   picker.exec();
//   barcodeBox->setText(picker.barcode());      // empty when nothing was listed
//   price = picker.value("tsjg");
class Ttsxxfm : public QDialog {
    Q_OBJECT
public:
    Ttsxxfm(const QString& statement, const QVariantList& values, QWidget* parent = nullptr);

    bool isEmpty() const;
    QString barcode() const;                     // txm of the book under the cursor
    QVariant value(const QString& column) const; // any column of that book
    QSqlRecord row() const;                      // the whole row (empty when none)

    static constexpr const char* narrowStatement =
        "select * from tszk where pyzjh like :pyzjh or tsmc like :tsmc";
    static constexpr const char* queryStatement =
        "select * from tszk where (pyzjh like :pyzjh or tsmc like :tsmc) ";
    static constexpr const char* notFoundText = "没有找到您需要的数据，请重新输入查询条件！";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(const QString& statement, const QVariantList& values);
    void textEdited(const QString& text);
    void queryClick();
    int currentRow() const;

    QLineEdit* m_text = nullptr;    // Edit1
    QComboBox* m_classes = nullptr; // ComboBox1
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
