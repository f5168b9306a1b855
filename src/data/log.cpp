#include "data/log.h"

#include "data/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

void Log::write(const QString& message)
{
    const QString path = ProgramPaths::logFile();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        ProgramPaths::makePrivateFolder(folder);
    if (!QFileInfo::exists(path))
        ProgramPaths::createPrivateFile(path);
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss") << "  " << message << "\n";
}
