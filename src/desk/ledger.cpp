#include "desk/ledger.h"

#include "data/clock.h"
#include "data/sql.h"

QStringList Ledger::allReasons()
{
    using namespace Reason;
    return {deposit,     topUpAtIssue, cardFee,        topUpAtExtension, depositRefund,
            overdueFine, damageFine,   discountedSale, purchaseCost,     reversal};
}

void Ledger::income(Money amount, const QString& reason)
{
    Sql("insert into cwk(srje,szyy,fsrq) values(:tj0,:tj1,:tj2)")
        .bind(amount)
        .bind(reason)
        .bind(Clock::today())
        .exec();
}

void Ledger::expenditure(Money amount, const QString& reason)
{
    Sql("insert into cwk(zcje,szyy,fsrq) values(:tj0,:tj1,:tj2)")
        .bind(amount)
        .bind(reason)
        .bind(Clock::today())
        .exec();
}
