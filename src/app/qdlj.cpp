#include "app/qdlj.h"

#include "app/xtbf.h"
#include "desk/backup.h"
#include "ui/filedialogs.h"

#include <QDir>

Tqdljfm::Mode& Tqdljfm::copyMode()
{
    static Mode mode = Mode::Backup;
    return mode;
}

std::optional<QString> Tqdljfm::choose(QWidget* parent, const QString& start)
{
    const QString folder =
        QDir::toNativeSeparators(FileDialogs::chooseFolder(parent, "确定路径", start));
    if (folder.isEmpty())
        return std::nullopt;
    if (copyMode() == Mode::Restore)
        return folder;
    try {
        Backup::checkChosenFolder(folder);
    } catch (const Backup::Stop& stop) {
        TFormxtbf::tell(parent, stop);
        return QString();
    }
    return folder;
}
