#include "desk/labels.h"

#include "data/sql.h"

QList<BookLabel> Labels::forBooks(const QStringList& barcodes)
{
    QList<BookLabel> labels;
    // One indexed look-up per chosen book (a label sheet holds a few dozen).
    for (const QString& barcode : barcodes) {
        Sql one("select txm,tsmc,mxflm,flmc,fsjh,bs from tszk where txm=:txm");
        one.bind(barcode).exec();
        if (!one.first())
            continue;
        BookLabel label;
        label.barcode = one.text("txm");
        label.title = one.text("tsmc");
        label.classNumber = one.text("mxflm").isEmpty() ? one.text("flmc") : one.text("mxflm");
        label.shelf = one.text("fsjh");
        label.copies = std::max(1, one.integer("bs"));
        labels.append(label);
    }
    return labels;
}
