#pragma once

#include <QString>

// Moving books to another room: one book, or every book of a room, in one statement.
struct RelocationRequest {
    bool wholeRoom = false;
    QString barcode;    // one-book mode
    QString roomBefore; // room names as chosen
    QString roomAfter;
};

namespace Relocation {
inline constexpr const char* notInRoomText = "该图书室中没有此图书，请确定后重新输入。";

// Whether the book with this barcode is stored in the room of this number.
bool isIn(const QString& barcode, const QString& roomNumber);

// Checks the request in the desk's order and moves the book or the room's books.
// Refuses a missing barcode (Edit1) or room (ComboBox1, ComboBox2; whole-room mode
// names no box), and in one-book mode a book that is not in the room before.
// Returns the number of books moved.
int move(const RelocationRequest& request);
} // namespace Relocation
