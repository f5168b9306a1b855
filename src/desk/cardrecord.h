#pragma once

#include "data/money.h"

#include <QDate>
#include <QString>

#include <optional>

class Sql;

// One library card (`cardk`) as the card screens show it.
struct CardRecord {
    QString number;    // kno
    QString grade;     // kdj
    QString cardType;  // km
    QString name;      // dzm
    QString identity;  // sfzh
    QString address;   // dz
    QString telephone; // tel
    QString workUnit;  // gzdw
    QDate issued;      // bkrq
    QDate validUntil;  // yxrq
    Money deposit;     // yj
    QString photoPath; // strpath, or empty
};

namespace CardRecords {
// Identity numbers (citizen identity cards) take up to 18 characters, the last may be "X".
inline constexpr int identityLength = 18;

// The card of this number, or nothing.
std::optional<CardRecord> find(const QString& number);
// The card on the current row of a query over `cardk` (all columns).
CardRecord fromRow(const Sql& row);
} // namespace CardRecords
