#include "data/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& homeFolder()
{
    static QString folder;
    return folder;
}

QString under(const QString& name)
{
    return QDir(ProgramPaths::home()).filePath(name);
}
} // namespace

QString ProgramPaths::home()
{
    if (homeFolder().isEmpty())
        return QCoreApplication::applicationDirPath();
    return homeFolder();
}

void ProgramPaths::setHome(const QString& folder)
{
    homeFolder() = QDir(folder).absolutePath();
}

QString ProgramPaths::dataFolder()
{
    return under("dat");
}
QString ProgramPaths::databaseFile()
{
    return QDir(dataFolder()).filePath("library.db");
}
QString ProgramPaths::backupFolder()
{
    return under("backup");
}
QString ProgramPaths::photoFolder()
{
    return under("pic");
}
QString ProgramPaths::helpFolder()
{
    return under("qvb");
}
QString ProgramPaths::logFile()
{
    return QDir(under("log")).filePath("library.log");
}
