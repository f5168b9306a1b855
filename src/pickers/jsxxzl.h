#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLineEdit;

// "图书详细资料": sixteen read-only boxes about one title (`tszk` by barcode). The lending
// and returning screens open it for a loan of their lists (Tjsxxzlfm); the loan query and
// the classification-tree search open the larger one (Tdzjhxxzlfm).
class BookDetails : public QDialog {
    Q_OBJECT
public:
    QString boxText(const QString& caption) const; // tests: the box beside a caption

protected:
    BookDetails(const QString& barcode, int fontPixels, QWidget* parent);

private:
    QList<QPair<QString, QLineEdit*>> m_boxes;
};

class Tjsxxzlfm : public BookDetails {
    Q_OBJECT
public:
    explicit Tjsxxzlfm(const QString& barcode, QWidget* parent = nullptr);
    // Runs the popup modally for the title.
    static void open(const QString& barcode, QWidget* parent);
};
