#pragma once

#include "desk/ask.h"

#include <QString>

// The library rooms (`tssxxk`): numbers and names are each unique; a room that still
// holds books is not deleted. Books name their room by number (`tszk.scddbh`).
struct Room {
    QString number; // tssbh
    QString name;   // tssmc
};

namespace Rooms {
inline constexpr int numberWidth = 8; // GBK bytes
inline constexpr int nameWidth = 16;

// Which column a refusal sends the operator back to.
enum class Column { Number, Name };

// A number or name that another room already has, found while saving: the screen
// returns to that column without a message.
struct Taken {
    Column column;
};

// The checks of Enter in the grid. `original` is the number of the room being changed
// (empty for a new room), whose own number and name do not count as taken.
// Refused's box is "tssbh" or "tssmc".
void checkNumber(const QString& number, const QString& original);
void checkName(const QString& name, const QString& original);

// Stores a new room (original empty, set up today) or a change to the room numbered
// `original`. Refuses empty texts, then "没有数据需要保存。" when no row is `pending`
// (being added or changed); throws Taken for a number or name in use. A changed number
// takes the room's books along.
void save(const Room& room, const QString& original, bool pending = true);

// Deletes the room after the question "确定要删除本图书室吗?" (ActionCancelled on
// Cancel); refused while books are stored in it.
void remove(const QString& number, const Ask& ask);

// The number of the one room with this name, or empty (none, or several).
QString numberOf(const QString& name);
} // namespace Rooms
