#pragma once

#include <QString>

// The delivered database: the tables, the rights catalogue, the classification and the
// superuser, built from the scripts that ship inside the program (:/schema/).
namespace Schema {
// Writes a fresh delivered database to the given file (which must not exist). The file
// is built under another name on a connection of its own and only takes its real name
// once it is complete; it is owner-only (0600). Throws StoreError.
void createDelivered(const QString& file);

// The text of a script shipped with the program, e.g. ":/schema/schema.sql".
QString scriptText(const QString& resource);
} // namespace Schema
