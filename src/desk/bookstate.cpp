#include "desk/bookstate.h"

#include "data/sql.h"

QString BookState::word(const QString& code)
{
    if (code == QLatin1String("W"))
        return QString::fromUtf8("图书未出借");
    if (code == QLatin1String("C"))
        return QString::fromUtf8("图书已出借");
    if (code == QLatin1String("D"))
        return QString::fromUtf8("图书已丢失");
    if (code == QLatin1String("L"))
        return QString::fromUtf8("图书已处理");
    return QString();
}

void BookState::settle(const QString& barcode)
{
    Sql("update tszk set tszt=case when coalesce(jcs,0)>=coalesce(bs,0) then 'C' else 'W' end "
        "where txm=:txm and tszt in ('W','C')")
        .bind(barcode)
        .exec();
}
