#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

// Backup and restore of the library's database. A backup is a consistent copy of the
// open database taken with SQLite's online backup (never a copy of the live file, whose
// latest writes may still be in its -wal file); it takes the name library.db in the
// backup folder only once it is complete. A restore takes only a file that is a whole
// library database and swaps it in so that either the restored or the old data are in
// place, never a mixture.
//
// Neither runs inside a transaction: call them outside Action::run.
namespace Backup {
inline constexpr const char* fileName = "library.db";

// What stops a backup or restore, as the operator is told it.
struct Stop : std::runtime_error {
    enum class Kind {
        Plain,        // application title, no icon
        Notice,       // information icon
        NoticeNoIcon, // no icon
        Error,        // error icon
    };
    Stop(Kind kind, const QString& caption, const QString& text)
        : std::runtime_error(text.toStdString()), kind(kind), caption(caption), text(text)
    {
    }
    Kind kind;
    QString caption; // empty for Plain
    QString text;
};

QString defaultFolder(); // backup/ under the program folder

// The folder chosen for a backup in the folder chooser: not the data folder, writable.
void checkChosenFolder(const QString& folder);

// Writes the backup into the folder (created when missing). Throws Stop.
void backupTo(const QString& folder);

// Replaces the data with the backup in the folder. `release` is called once the backup
// has been found sound, just before the connection closes: it must let go of everything
// that still uses the old connection, and return false to call the restore off.
// Throws Stop; after a Stop the data are as they were.
void restoreFrom(const QString& folder, const std::function<bool()>& release);

// The reasons a file is not a library database, or empty when it is one. Used by the
// restore; open to tests.
QString problemsOf(const QString& databaseFile);
} // namespace Backup
