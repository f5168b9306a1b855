#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The readers' side of the catalogue: search, the title page, the newest shelved titles
// and the classification tree. Everything here reads through a connection of its own
// that SQLite opens read-only, so no page of the public side can write to the library.
namespace Catalogue {

struct Search {
    QString keyword;   // title fragment, author, publisher, ISBN, barcode or mnemonic
    QString className; // class code prefix (mxflm)
    QString publisher; // publisher name prefix
    QString language;  // yz, exact
    int yearFrom = 0;  // publication year range; 0: open
    int yearTo = 0;
    QString sort; // "title" (default), "author", "year", "new"
    int page = 1;
    bool empty() const
    {
        return keyword.isEmpty() && className.isEmpty() && publisher.isEmpty() &&
               language.isEmpty() && yearFrom == 0 && yearTo == 0;
    }
};

struct Title {
    QString barcode, title, author, publisher, published, classCode, room, shelf, isbn;
    int copies = 0; // bs
    int lent = 0;   // jcs
    int available() const { return qMax(0, copies - lent); }
};

inline constexpr int pageSize = 20;
inline constexpr int countCap = 1000; // counts above this read "1000+"

struct Result {
    QList<Title> titles;
    int total = 0;     // capped at countCap + 1
    bool more = false; // another page follows
};

// A title with every catalogued field (caption, value) and its copies' state.
struct TitleDetail {
    Title title;
    QList<QPair<QString, QString>> fields;
    QString state; // the state code in words
    QDate nextDue; // earliest due date of a copy on loan
};

struct ClassNode {
    QString code, name;
    QList<QPair<QString, QString>> children; // code, name
};

// The read-only connection of the calling thread (opened on first use).
QSqlDatabase connection();
void closeConnections();

Result search(const Search& search);
std::optional<TitleDetail> title(const QString& barcode);
QList<Title> newestShelved(int count = 30);
QList<ClassNode> classTree();

} // namespace Catalogue
