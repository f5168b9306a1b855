#pragma once

#include <QString>

// Folders of the program: the executable's folder, or the folder given with --home.
// The data, backups, photographs, help and log live under it.
//
// The data, photograph, backup and log folders hold readers' personal data (identity
// numbers, addresses, telephones, photographs): they are owner-only (0700) and the
// database and log files in them 0600, whatever the umask.
class ProgramPaths {
public:
    static QString home();
    static void setHome(const QString& folder);

    static QString dataFolder();   // dat/
    static QString databaseFile(); // dat/library.db
    static QString backupFolder(); // backup/
    static QString photoFolder();  // pic/
    static QString helpFolder();   // qvb/
    static QString logFile();      // log/library.log

    // Takes away any access of others to dat/, pic/, backup/ and log/ where they exist
    // (folders made by an older version or another tool); done at every start.
    static void tightenPrivateFolders();
    // Creates the folder (and its parents) where missing; the folder itself ends 0700.
    // Every writer of these folders creates them this way.
    static bool makePrivateFolder(const QString& folder);
    // Creates the folder where missing, and each missing parent (the library folder
    // itself, say), owner-only; folders that exist keep their modes (a backup medium the
    // operator chose). False when it cannot be made.
    static bool createFolder(const QString& folder);
    // Creates an empty file readable and writable by the owner only; false when it
    // exists or cannot be created.
    static bool createPrivateFile(const QString& file);
    // Sets an existing file to 0600; nothing when it does not exist.
    static void makeFilePrivate(const QString& file);
};
