#pragma once

#include <QSqlDatabase>
#include <QString>

// The delivered database: the tables, the rights catalogue, the classification and the
// superuser, built from the scripts that ship inside the program (:/schema/).
namespace Schema {
// Writes a fresh delivered database to the given file (which must not exist). The file
// is built under another name on a connection of its own and only takes its real name
// once it is complete; it is owner-only (0600). Throws StoreError.
void createDelivered(const QString& file);

// The version of the tables this program writes, kept in the file (PRAGMA user_version).
inline constexpr int version = 4;

// Brings a library database written by an earlier version up to this one, in one
// transaction: tables, columns, indexes and triggers it lacks are added (nothing is removed
// or changed), functions new to the rights catalogue are added and granted to the
// superuser. A database at this version is left alone. Throws StoreError.
void upgrade(QSqlDatabase& db);

// The text of a script shipped with the program, e.g. ":/schema/schema.sql".
QString scriptText(const QString& resource);
} // namespace Schema
