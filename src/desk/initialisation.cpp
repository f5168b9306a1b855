#include "desk/initialisation.h"

#include "data/sql.h"

const QStringList& Initialisation::clearedTables()
{
    static const QStringList tables{"cardk", "cwk",   "dzjsmxk", "dzyqfkmxk", "gsb",    "icxh",
                                    "jhk",   "jhmxk", "jsclk",   "jszxh",     "jykdjk", "kpsxh",
                                    "mxflk", "tszk",  "zzqk",    "zzqkztk",   "jykczb"};
    return tables;
}

void Initialisation::clearAll()
{
    for (const QString& table : clearedTables())
        Sql::run("delete from " + table);
}
