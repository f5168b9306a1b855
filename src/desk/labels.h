#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a barcode label of a book says.
struct BookLabel {
    QString barcode; // txm
    QString title;
    QString classNumber;
    QString shelf;
    int copies = 1; // one label per copy
};

namespace Labels {
// The labels of these books, one per copy (`bs`, at least one), read from the book master
// in the given order; barcodes that name no book are left out.
QList<BookLabel> forBooks(const QStringList& barcodes);
} // namespace Labels
