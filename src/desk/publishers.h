#pragma once

#include <QString>
#include <QVariantList>

// The publisher table `cbsxxk`: the look-ups of the publisher lists and the delete of
// the publisher query. Names are not unique; a row is addressed by its `iid`.
struct Publisher {
    qint64 iid = 0;
    QString mnemonic; // pyzjh
    QString name;     // cbsmc
    QString address;  // cbsdz
    QString contact;  // lxr
    QString telephone;
    QString postcode;
    QString email;
};

namespace Publishers {
// Every publisher whose name contains the text (cataloguing's look-up list).
inline constexpr const char* containingStatement = "select * from cbsxxk where cbsmc like:cbsmc";
QVariantList containingValues(const QString& text);

// The publisher query's list: all publishers, or those whose name begins with the text
// (the mnemonic is shown, not searched), in name order.
inline constexpr const char* allStatement = "select iid,pyzjh,cbsmc from cbsxxk order by cbsmc";
inline constexpr const char* prefixStatement =
    "select iid,pyzjh,cbsmc from cbsxxk where cbsmc like :cbsmc order by cbsmc";
QVariantList prefixValues(const QString& text);

// The publisher of a list row, by the row's identity (names, contacts and addresses may
// repeat or be blank). False when the row is gone.
bool find(qint64 iid, Publisher* found);

// Deletes the row at once; books and periodicals that name the publisher keep the name.
// False when no row had that iid.
bool remove(qint64 iid);
} // namespace Publishers
