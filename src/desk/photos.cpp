#include "desk/photos.h"

#include "data/paths.h"
#include "data/sql.h"

#include <QDir>

#include <stdexcept>

QString Photos::store(const QImage& picture)
{
    const int number = Sql::scalar("select max(bh) as expr1001 from zpidb").toInt() + 1;
    Sql counter("update zpidb set bh= :bh ");
    counter.bind(number).exec();
    if (counter.rowsAffected() == 0) // the counter row is missing: start it
        Sql::run("insert into zpidb(bh) values(:bh)", {number});
    const QString folder = ProgramPaths::photoFolder();
    if (!ProgramPaths::makePrivateFolder(folder))
        throw std::runtime_error(QString("无法建立照片文件夹 %1").arg(folder).toStdString());
    const QString path = QDir(folder).filePath(QString::number(number) + ".bmp");
    if (!picture.save(path, "BMP"))
        throw std::runtime_error(QString("无法写入照片文件 %1").arg(path).toStdString());
    ProgramPaths::makeFilePrivate(path);
    return path;
}
