#include "desk/shelving.h"

#include "data/sql.h"
#include "desk/refused.h"

#include <utility>

QStringList Shelving::shelves()
{
    QStringList list;
    Sql q("select fsjh from tszk group by fsjh");
    q.exec();
    bool blank = false; // blank and null are one shelf number
    while (q.next()) {
        const QString shelf = q.text("fsjh");
        if (shelf.isEmpty() && std::exchange(blank, true))
            continue;
        list << shelf;
    }
    return list;
}

Shelving::Book Shelving::lookUp(const QString& barcode)
{
    Sql q("select txm,tsmc,tsjg,cbsmc,cbsj,ISBN,fsjh from tszk where txm=:txm");
    q.bind(barcode).exec();
    if (!q.next())
        throw Refused("提示", "没有您所查询的图书资料！", "Edit1");
    return {q.text("txm"), q.text("tsmc"), q.text("fsjh")};
}

void Shelving::save(const QString& barcode, const QString& shelf)
{
    Sql update("update tszk set fsjh=:fsjh where txm=:txm");
    update.bind(shelf).bind(barcode).exec();
    if (update.rowsAffected() != 1)
        throw Refused("保存信息", "您的放书架号登记不成功！", "Edit1");
}
