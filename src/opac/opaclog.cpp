#include "opac/opaclog.h"

#include "data/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {
QMutex lock;
}

QString OpacLog::file()
{
    return QFileInfo(ProgramPaths::logFile()).absolutePath() + "/opac.log";
}

void OpacLog::write(const QString& message)
{
    QMutexLocker locker(&lock);
    const QString path = file();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        ProgramPaths::makePrivateFolder(folder);
    if (!QFileInfo::exists(path))
        ProgramPaths::createPrivateFile(path);
    QFile out(path);
    if (!out.open(QIODevice::Append | QIODevice::Text))
        return;
    out.write((QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss") + "  " + message + "\n")
                  .toUtf8());
}
