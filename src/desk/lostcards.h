#pragma once

#include "desk/ask.h"

#include <QString>
#include <QVariantList>

#include <functional>

// The lost-card register `gsb`: one row per issued card, "是" while the card is reported
// lost, "否" otherwise. A lost card cannot borrow, read in the reading room or be
// cancelled until the report is withdrawn. A report or its withdrawal needs the card
// number and the identity number together.
namespace LostCards {
inline constexpr const char* lost = "是";
inline constexpr const char* notLost = "否";

enum class Change { Report, Withdraw };

// The reader's name registered for this card and identity number. Refuses with
// "没有找到您需要的记录" when they do not belong together.
QString lookUp(const QString& number, const QString& identity);

// Reports the card lost or withdraws the report, after the operator confirms it
// (`found` is told the reader's name before the question). Refuses a card that is not
// in the state the change starts from; stops quietly when the operator answers No.
void change(Change change, const QString& number, const QString& identity, const Ask& ask,
            const std::function<void(const QString& name)>& found = {});

// Whether the card is reported lost.
bool isLost(const QString& number);
} // namespace LostCards

// The register query: a card number prefix, an exact name and the lost flag, each
// optional, ordered by card number.
class LostCardSelection {
public:
    LostCardSelection(const QString& numberPrefix, const QString& name, const QString& status);
    QString statement() const;
    QVariantList values() const;

private:
    QString m_prefix;
    QString m_name;
    QString m_status;
};
