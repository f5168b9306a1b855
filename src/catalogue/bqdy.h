#pragma once

#include "reports/labelsheet.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;

// "打印条码标签": the label sheet (rows × columns and the sheet's margins) for the labels of
// the chosen books, then the preview, from which the operator prints or saves a PDF.
class Tbqdyfm : public QDialog {
    Q_OBJECT
public:
    Tbqdyfm(const QList<BookLabel>& labels, QWidget* parent = nullptr);

    // Reads the books' labels and runs the dialog; says so when none of them is catalogued.
    static void print(QWidget* parent, const QStringList& barcodes);
    LabelSheet sheet() const;

private:
    void okClick();

    QList<BookLabel> m_labels;
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_columns = nullptr;
    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_bottom = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_right = nullptr;
};
