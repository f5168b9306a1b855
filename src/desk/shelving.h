#pragma once

#include <QString>
#include <QStringList>

// Shelving new books: the shelf number `tszk.fsjh` of a catalogued book.
namespace Shelving {
inline constexpr int shelfWidth = 6; // GBK bytes of fsjh

struct Book {
    QString barcode;
    QString title;
    QString shelf;
};

// Every shelf number in use, once each, a blank one too when some book has none.
QStringList shelves();

// The book under the exact barcode; refuses an unknown one ("没有您所查询的图书资料！").
Book lookUp(const QString& barcode);

// Writes the shelf number of the book, and nothing else of its row; refuses when no
// book has the barcode ("您的放书架号登记不成功！").
void save(const QString& barcode, const QString& shelf);
} // namespace Shelving
