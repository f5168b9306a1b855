#pragma once

#include <QString>

// Folders of the program: the executable's folder, or the folder given with --home.
// The data, backups, photographs, help and log live under it.
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
};
