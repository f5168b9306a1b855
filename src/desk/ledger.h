#pragma once

#include "data/money.h"

#include <QString>
#include <QStringList>

// The finance ledger `cwk`: every amount the desk takes in or pays out is one row,
// written on today's date with one of the fixed reason texts below. Every screen that
// handles money writes through here, inside its own action's transaction.
namespace Ledger {

// The reason texts (`szyy`) the desk writes; the finance query shows them as stored.
namespace Reason {
inline constexpr const char* deposit = "收押金";                    // card issue
inline constexpr const char* topUpAtIssue = "办借阅证时充值";       // card issue, first top-up
inline constexpr const char* cardFee = "收工本费";                  // card issue
inline constexpr const char* topUpAtExtension = "延期借阅证时充值"; // top-up and extension
inline constexpr const char* depositRefund = "退还押金";      // card cancellation (expenditure)
inline constexpr const char* overdueFine = "逾期罚款金额";    // confirmed overdue fine
inline constexpr const char* damageFine = "读者损坏罚款";     // damage fine
inline constexpr const char* discountedSale = "图书降价销售"; // sale of a disposed book
inline constexpr const char* purchaseCost = "购书费";         // cataloguing (expenditure)
inline constexpr const char* reversal = "冲销"; // cataloguing delete or change (expenditure)
} // namespace Reason

// Every reason text above, in the order listed.
QStringList allReasons();

// Appends an income row (`srje`) dated today. Throws StoreError.
void income(Money amount, const QString& reason);
// Appends an expenditure row (`zcje`) dated today; a reversal passes a negative amount.
void expenditure(Money amount, const QString& reason);

} // namespace Ledger
