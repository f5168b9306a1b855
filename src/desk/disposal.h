#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <optional>

// Old books leaving the collection: scrapped ("图书报废") or sold at a reduced price
// ("降价销售"). One disposal row per title in `jsclk`; the copies held are reduced, or the
// title is removed when its last copies go; a sale is booked as income.
struct DisposalRequest {
    QString barcode;  // Edit1
    QString title;    // Edit2
    QString quantity; // Edit3, as typed
    QString method;   // ComboBox1
    QString amount;   // Edit4, as typed
    QString remark;   // Edit5
};

namespace Disposal {
inline constexpr const char* scrap = "图书报废";
inline constexpr const char* sale = "降价销售";
inline constexpr const char* caption = "旧书处理提示";
inline constexpr const char* notANumberText = "您输入的处理数量不是数字，\n请确定后重新输入！";
inline constexpr const char* moreThanHeldText =
    "您输入的处理数量大于该书在图书总库中的数量\n请确定后重新输入！";

// A quantity as typed: a whole number of at least one copy, or nullopt.
std::optional<int> quantity(const QString& typed);

// What came of a disposal: done, or refused for want of copies with the text of the
// message popup (nothing written either way).
struct Outcome {
    bool done = false;
    QString shortage;
};

// Checks the request in the desk's order and, when every check passes, writes the
// disposal row, the sale's income and the reduced or removed title, reading the copies
// held and on loan inside the caller's transaction. Only copies that are not on loan are
// disposed of. Refuses (Refused naming the box) on a missing or malformed box, an
// unknown barcode or a barcode disposed of before. Call inside Action::run.
Outcome dispose(const DisposalRequest& request);

// The disposal query: disposals whose barcode, title or mnemonic begins with `text`
// (empty: all), on the day `from` or within from..to; without `from` on any day.
// Titles removed by their disposal stay listed with the title the disposal recorded.
struct Selection {
    QString text;
    QDate from;
    QDate to;
    QString statement() const;
    QVariantList values() const;
};
} // namespace Disposal
