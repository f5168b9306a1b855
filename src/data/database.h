#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection of the program, named STANDARD1, to dat/library.db under the
// program folder. A missing database is created from the delivered schema and data
// (see Schema); an existing one is not altered, except that cutting triggers left by
// an older version are dropped so that any SQLite tool can write to the file.
//
// The connection waits up to five seconds for a lock another program holds, and runs
// in WAL journal mode with synchronous=FULL, so a committed action survives a power cut.
// While it is open the database is library.db plus its -wal and -shm files; close()
// folds them back into library.db, so close before copying the file.
class Database {
public:
    static constexpr const char* connectionName = "STANDARD1";
    static constexpr int busyTimeoutMs = 5000;

    // Opens (creating when missing) the database of the current program folder.
    // On failure returns false and sets the reason.
    static bool open(QString* error = nullptr);
    static void close();
    static bool isOpen();
    // The library file was replaced since this program opened it (another desk restored a
    // backup): what this program would write now would go into the old, removed file.
    static bool replacedUnderUs();
    static QSqlDatabase connection();

    // Brings a library file written by an earlier version up to this one, as opening does
    // (any connection; the restore uses it on the copy it checks). Throws StoreError.
    static void bringUpToDate(QSqlDatabase& db);

    // Set by open() when it found library.db missing and put library.db.previous (the
    // data an unfinished restore had moved aside) back: what the operator is told.
    // Reading it clears it.
    static QString takeRecoveryNote();
};

// Thrown instead of writing when Database::replacedUnderUs(): the action is rolled back,
// and the program tells the operator and opens the library again.
struct LibraryReplaced {};
