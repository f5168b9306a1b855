#include "data/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

constexpr QFileDevice::Permissions ownerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner |
                                                   QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                                   QFileDevice::WriteUser;
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

void ProgramPaths::tightenPrivateFolders()
{
    for (const QString& folder :
         {dataFolder(), photoFolder(), backupFolder(), QFileInfo(logFile()).absolutePath()}) {
        const QFileInfo info(folder);
        if (info.isDir() && !info.isSymLink())
            QFile::setPermissions(folder, ownerOnlyFolder);
    }
}

bool ProgramPaths::createFolder(const QString& folder)
{
    QStringList missing;
    for (QString at = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo::exists(at);) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).absolutePath();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString& made : missing) {
        if (!QDir().mkdir(made) && !QFileInfo(made).isDir())
            return false;
        QFile::setPermissions(made, ownerOnlyFolder);
    }
    return QFileInfo(folder).isDir();
}

bool ProgramPaths::makePrivateFolder(const QString& folder)
{
    if (!createFolder(folder))
        return false;
    return QFile::setPermissions(folder, ownerOnlyFolder);
}

bool ProgramPaths::createPrivateFile(const QString& file)
{
    const QByteArray name = QFile::encodeName(file);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // The umask may only have taken bits away; the owner must be able to write.
    const bool ok = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return ok;
}

void ProgramPaths::makeFilePrivate(const QString& file)
{
    const QFileInfo info(file);
    if (info.exists() && !info.isSymLink() && info.permissions() != ownerOnlyFile)
        QFile::setPermissions(file, ownerOnlyFile);
}
