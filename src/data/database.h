#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection of the program, named STANDARD1, to dat/library.db under the
// program folder. A missing database is created from the delivered schema and data
// that ship inside the program; an existing one is never altered.
class Database {
public:
    static constexpr const char* connectionName = "STANDARD1";

    // Opens (creating when missing) the database of the current program folder.
    // On failure returns false and sets the reason.
    static bool open(QString* error = nullptr);
    static void close();
    static bool isOpen();
    static QSqlDatabase connection();

    // Writes a fresh delivered database to the given file (which must not exist).
    static void createDelivered(const QString& file);

    // Runs a script of statements separated by semicolons.
    static void runScript(const QString& script);
};
