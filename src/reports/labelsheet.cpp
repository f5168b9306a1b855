#include "reports/labelsheet.h"

#include <memory>

QSizeF LabelSheet::labelMm() const
{
    const QSizeF paper = ReportPage::a4().paperMm();
    const double width = paper.width() - marginsMm.left() - marginsMm.right();
    const double height = paper.height() - marginsMm.top() - marginsMm.bottom();
    return {width / std::max(1, columns), height / std::max(1, rows)};
}

Report labelSheetReport(const QList<BookLabel>& books, const LabelSheet& sheet)
{
    const int columns = std::max(1, sheet.columns);
    QStringList names;
    for (int c = 0; c < columns; ++c)
        names << QString("txm%1").arg(c) << QString("tsmc%1").arg(c) << QString("fl%1").arg(c);
    QVector<QVariantList> rows;
    QVariantList row;
    for (const BookLabel& book : books) {
        for (int copy = 0; copy < std::max(1, book.copies); ++copy) {
            const QString shelf = book.shelf.isEmpty() ? book.classNumber
                                  : book.classNumber.isEmpty()
                                      ? book.shelf
                                      : book.classNumber + "  " + book.shelf;
            row << book.barcode << book.title << shelf;
            if (row.size() == names.size()) {
                rows.append(row);
                row.clear();
            }
        }
    }
    if (!row.isEmpty()) {
        while (row.size() < names.size())
            row << QString();
        rows.append(row);
    }

    Report r;
    r.name = "图书条码标签";
    r.page = ReportPage::a4();
    r.page.marginsMm = sheet.marginsMm;
    const QSizeF label = sheet.labelMm();
    r.detail.height = label.height();
    const double pad = std::min(2.5, label.width() / 20);
    const double inner = label.width() - 2 * pad;
    const double h = label.height();
    const ReportFont text = ReportFont::song(std::clamp(h / 4.0, 6.0, 9.0));
    for (int c = 0; c < columns; ++c) {
        const double left = c * label.width() + pad;
        r.detail.add(
            ReportElement::barcode({left, h * 0.08, inner, h * 0.42}, QString("txm%1").arg(c)));
        r.detail.add(ReportElement::field({left, h * 0.52, inner}, QString("txm%1").arg(c), text)
                         .aligned(ReportAlign::Centre));
        r.detail.add(ReportElement::field({left, h * 0.68, inner}, QString("tsmc%1").arg(c), text)
                         .aligned(ReportAlign::Centre));
        r.detail.add(ReportElement::field({left, h * 0.84, inner}, QString("fl%1").arg(c), text)
                         .aligned(ReportAlign::Centre));
    }
    r.rows = std::make_shared<VectorRowSource>(names, rows);
    return r;
}
