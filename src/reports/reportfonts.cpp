#include "reports/reportfonts.h"

#include <QFontDatabase>
#include <QHash>

namespace {
// Each face by its English name and by the name fontconfig reports under a Chinese locale.
const QStringList songFaces = {"SimSun",
                               "宋体",
                               "AR PL UMing CN",
                               "AR PL UMing TW",
                               "Noto Serif CJK SC",
                               "WenQuanYi Micro Hei",
                               "文泉驿微米黑"};
const QStringList heiFaces = {
    "SimHei", "黑体", "WenQuanYi Micro Hei", "文泉驿微米黑", "Noto Sans CJK SC", "AR PL UMing CN"};

QString firstInstalled(const QStringList& candidates)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& c : candidates)
        if (families.contains(c, Qt::CaseInsensitive))
            return c;
    return candidates.last();
}

bool isHei(const QString& family)
{
    return family == "黑体" || family.compare("SimHei", Qt::CaseInsensitive) == 0;
}
bool isSong(const QString& family)
{
    return family == "宋体" || family.compare("SimSun", Qt::CaseInsensitive) == 0 ||
           family.compare("NSimSun", Qt::CaseInsensitive) == 0 || family == "新宋体";
}
} // namespace

QString ReportFonts::installedFamily(const QString& wanted)
{
    static QHash<QString, QString> cache;
    if (auto it = cache.constFind(wanted); it != cache.constEnd())
        return *it;
    QString family;
    if (isHei(wanted))
        family = firstInstalled(heiFaces);
    else if (isSong(wanted))
        family = firstInstalled(songFaces);
    else if (QFontDatabase::families().contains(wanted, Qt::CaseInsensitive))
        family = wanted;
    else
        family = firstInstalled(songFaces);
    cache.insert(wanted, family);
    return family;
}

QFont ReportFonts::resolve(const ReportFont& font)
{
    QFont f(installedFamily(font.family));
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}
