#include "ui/storefailure.h"

#include "data/storeerror.h"

bool StoreFailure::isLock(const StoreError& error)
{
    const QString text = error.message();
    return text.contains(QLatin1String("database is locked"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("database table is locked"), Qt::CaseInsensitive);
}

QString StoreFailure::explain(const StoreError& error)
{
    if (!isLock(error))
        return error.message();
    return QString::fromUtf8("另一个服务台或程序正在使用本图书馆的数据，请稍候再试。\n") +
           error.message();
}
