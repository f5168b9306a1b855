#include "desk/copies.h"

#include "data/sql.h"

int Copies::free(const QString& barcode)
{
    Sql q("select bs,jcs from tszk where txm=:txm");
    q.bind(barcode).exec();
    if (!q.first())
        return 0;
    return q.integer("bs") - q.integer("jcs");
}
