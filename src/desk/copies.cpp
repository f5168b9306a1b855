#include "desk/copies.h"

#include "data/sql.h"

void Copies::settleState(const QString& barcode)
{
    Sql::run("update tszk set tszt=case when coalesce(jcs,0)>=coalesce(bs,0) then 'C' else 'W' end "
             "where txm=:txm and tszt in ('W','C')",
             {barcode});
}

int Copies::free(const QString& barcode)
{
    Sql q("select bs,jcs from tszk where txm=:txm");
    q.bind(barcode).exec();
    if (!q.first())
        return 0;
    return q.integer("bs") - q.integer("jcs");
}
