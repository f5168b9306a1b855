#include "desk/ledgerselection.h"

#include "data/sql.h"

QString LedgerSelection::condition() const
{
    if (isRange())
        return " where fsrq>=:tj1 and fsrq<=:tj2 and (srje<>:srje  or zcje<>:zcje)";
    return " where fsrq=:tj1  and (srje<>:srje  or zcje<>:zcje)";
}

QString LedgerSelection::statement() const
{
    return "select * from cwk" + condition() + " order by fsrq";
}

QVariantList LedgerSelection::values() const
{
    QVariantList values{m_from};
    if (isRange())
        values << m_to;
    // Both amounts compared with a currency zero.
    values << QVariant::fromValue(Money()) << QVariant::fromValue(Money());
    return values;
}

LedgerSelection::Totals LedgerSelection::totals() const
{
    Sql q("select sum(srje) as income, sum(zcje) as expenditure from cwk" + condition());
    q.bindAll(values()).exec();
    Totals totals;
    if (q.first()) {
        totals.income = q.money("income");
        totals.expenditure = q.money("expenditure");
    }
    return totals;
}
