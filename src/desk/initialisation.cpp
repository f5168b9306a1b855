#include "desk/initialisation.h"

#include "data/sql.h"
#include "desk/desks.h"

const QStringList& Initialisation::clearedTables()
{
    static const QStringList tables{"cardk", "cwk",   "dzjsmxk", "dzyqfkmxk", "gsb",    "icxh",
                                    "jhk",   "jhmxk", "jsclk",   "jszxh",     "jykdjk", "kpsxh",
                                    "mxflk", "tszk",  "zzqk",    "zzqkztk",   "jykczb"};
    return tables;
}

void Initialisation::clearAll()
{
    Transaction::beginWriting();
    Desks::refuseWhileOthersIn(); // read under the lock: no desk enters meanwhile
    for (const QString& table : clearedTables())
        Sql::run("delete from " + table);
}
