#include "desk/publishers.h"

#include "data/sql.h"

QVariantList Publishers::containingValues(const QString& text)
{
    return {"%" + text + "%"};
}

QVariantList Publishers::prefixValues(const QString& text)
{
    return {text + "%"};
}

bool Publishers::find(qint64 iid, Publisher* found)
{
    Sql q("select * from cbsxxk where iid=:iid");
    q.bind(iid).exec();
    if (!q.next())
        return false;
    found->iid = q.value("iid").toLongLong();
    found->mnemonic = q.text("pyzjh");
    found->name = q.text("cbsmc");
    found->address = q.text("cbsdz");
    found->contact = q.text("lxr");
    found->telephone = q.text("lxdh");
    found->postcode = q.text("yzbm");
    found->email = q.text("EMail");
    return true;
}

bool Publishers::remove(qint64 iid)
{
    Sql q("delete from cbsxxk where iid= :iid");
    q.bind(iid).exec();
    return q.rowsAffected() > 0;
}
