#pragma once

#include "data/money.h"
#include "desk/cardrecord.h"

#include <QString>

#include <optional>

// Cancelling a card: the card row goes, the refund (normally the deposit) is paid out and
// booked as expenditure. A card reported lost, or with books still out, stays. The card's
// lost-card register row, its top-ups, its closed loans and its photograph stay.
namespace Cancellation {
// The first card (by number) with this exact number and this exact name; an empty
// condition matches every card.
std::optional<CardRecord> search(const QString& number, const QString& name);

// Cancels the searched card (`searched` empty: nothing was searched) and pays `refund`
// back; an empty refund pays nothing and writes no ledger row. Call inside one action.
// Returns the amount paid back.
Money cancel(const QString& searched, const QString& refund);

// The refund as typed: a number of at least 0. Refuses "金额格式错误!" otherwise.
Money readRefund(const QString& text);
} // namespace Cancellation
