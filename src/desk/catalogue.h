#pragma once

#include "data/money.h"
#include "desk/ask.h"

#include <QString>
#include <QStringList>

#include <optional>

// One title of the book master `tszk` as the cataloguing screen holds it: every box as
// typed (numbers and dates as text, the state in the screen's words).
struct CatalogueEntry {
    QString title;         // tsmc, DBEdit1
    QString firstLevel;    // flmc, ComboBox5
    QString barcode;       // txm, DBEdit111
    QString searchNumber;  // tsjsh, DBEdit112
    QString series;        // xlm, DBEdit113
    QString volume;        // fjch, DBEdit11
    QString author;        // zz, DBEdit12
    QString fourCorner;    // sjm, DBEdit13
    QString mainTitle;     // ztm, DBEdit14
    QString subtitle;      // ftm, DBEdit15
    QString language;      // yz, ComboBox4
    QString secondLevel;   // mxflm, Edit6
    QString heading;       // bt, DBEdit17
    QString edition;       // tsbb, DBEdit18
    QString format;        // tskb, DBEdit19
    QString pages;         // tsym, DBEdit20
    QString isbn;          // isbn, DBEdit21
    QString currency;      // hbfh, DBEdit22
    QString price;         // tsjg, DBEdit23
    QString standardIndex; // bzsy, DBEdit24
    QString copies;        // bs, DBEdit25
    QString setFlag;       // sfct, DBComboBox3
    QString sets;          // tsts, DBEdit26
    QString room;          // scddbh, ComboBox1
    QString shelf;         // fsjh, DBEdit2
    QString state;         // tszt in words, ComboBox2
    QString damaged;       // sfsh, DBComboBox1
    QString published;     // cbsj, DBEdit6
    QString illustrations; // ctys, DBEdit4
    QString publisher;     // cbsmc, ComboBox3
    QString mnemonic;      // pyzjh, Edit2

    bool operator==(const CatalogueEntry&) const = default;
};

// The details of a publisher that is not yet in `cbsxxk`, typed on the second page; the
// save stores it under the name in the publisher box.
struct NewPublisher {
    QString address;   // cbsdz, DBEdit5
    QString contact;   // lxr, DBEdit7
    QString telephone; // lxdh, DBEdit8
    QString postcode;  // yzbm, DBEdit9
    QString email;     // EMail, DBEdit10
};

struct CatalogueSaved {
    enum class Kind {
        Stored,      // a new title was stored
        CopiesAdded, // the barcode was known: the typed copies were added to it
        Corrected,   // a stored title was corrected
    };
    Kind kind = Kind::Stored;
    QString barcode; // the title's barcode after the save
    int copies = 0;  // its copies held after the save
};

// A title's place in the book master for moving to the previous or next one.
struct CataloguePosition {
    qint64 row = 0; // the store's order of the titles
    QString barcode;
};

namespace Catalogue {
// The words of the state box and their codes: 图书未出借 W, 图书被丢失 D, 图书被出借 C,
// 图书被处理 L. Other words have no code (empty); other codes have no words.
QStringList stateWords();
QString stateCode(const QString& words);
QString stateWordsOf(const QString& code);

// The mnemonic of a title or publisher name: its pinyin initials in upper case.
QString mnemonic(const QString& text);

// Saves the entry in the desk's order: the required boxes, the numbers and the date,
// then the new publisher (when given), then either the new title (correcting empty) or
// the correction of the stored title whose barcode is `correcting`.
//
// A new title's barcode that is already stored is answered by `ask`: Yes adds the
// typed copies to the stored title and books their purchase at its stored price; No
// stops with ActionCancelled. A new title is booked as "购书费" price x copies when both
// are given. A correction books the change of the money tied up in the title,
// price x copies after less before: "购书费" when it grew, "冲销" when it shrank. A
// correction never writes the copies on loan. Call inside one action (Action::run);
// refuses with Refused naming the box to correct.
CatalogueSaved save(const CatalogueEntry& entry, const QString& correcting,
                    const std::optional<NewPublisher>& publisher, const Ask& ask);

// Deletes the stored title after `ask` agreed, booking "冲销" minus its stored price x
// copies when it has a price. A title with copies on loan is refused.
void remove(const QString& barcode, const Ask& ask);
// The same delete asked with another screen's question (the book query asks its own).
void remove(const QString& barcode, const Ask& ask, const QString& caption,
            const QString& question);

// The stored title as the screen shows it; nullopt when there is none.
std::optional<CatalogueEntry> load(const QString& barcode);

// The next or previous title in store order from `from` (0: from beyond either end,
// so the first or the last title); nullopt at the end or with an empty book master.
std::optional<CataloguePosition> step(qint64 from, bool forward);
} // namespace Catalogue
