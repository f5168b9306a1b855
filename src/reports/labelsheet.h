#pragma once

#include "desk/labels.h"
#include "reports/report.h"

#include <QList>
#include <QString>

// Barcode labels for the copies of books, on A4 sheets of self-adhesive labels.
struct LabelSheet {
    int rows = 8;
    int columns = 3;
    QMarginsF marginsMm{7, 10, 7, 10}; // left, top, right, bottom of the sheet

    QSizeF labelMm() const; // the size of one label
};

// The sheet layout: each label holds the Code 128 symbol of the barcode, the barcode as
// text, the short title, and the class and shelf numbers; labels fill the rows left to right.
Report labelSheetReport(const QList<BookLabel>& books, const LabelSheet& sheet);
