#pragma once

#include "data/money.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A bibliographic record fetched from a union catalogue, reduced to what the cataloguing
// screen takes over.
struct CatalogueRecord {
    QString title;
    QString author;
    QString publisher;
    QString place;
    QString date; // as the record gives it: "2008", "2008.5", "c2008"
    QString edition;
    QString isbn; // as given (hyphens kept)
    std::optional<Money> price;
    int pages = 0;
    QString classNumber; // CLC (CNMARC 690) or the MARC 21 082/084 number
    QString target;      // the catalogue it came from

    // The publication date as the desk stores dates ("2008" → "2008-01-01"); empty
    // when the record gives no year.
    QString publicationDate() const;
};

namespace Marc {
enum class Format { Unimarc, Marc21, Guess };
// Decodes one ISO 2709 record (YAZ's decoder), converting its text from `charset`
// ("GBK", "GB2312", "UTF-8", "MARC-8") to Unicode, and maps the fields of CNMARC/UNIMARC
// or MARC 21. Nothing when the bytes are no MARC record.
std::optional<CatalogueRecord> read(const QByteArray& iso2709, const QString& charset,
                                    Format format = Format::Guess);
// The first amount in a price text: "CNY25.00" → 25, "￥18.50元" → 18.5.
std::optional<Money> priceOf(const QString& text);
} // namespace Marc
