#include "desk/initialisation.h"

#include "data/schema.h"
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
    // The detailed classification is the program's own list, not the library's data: the
    // book query's class list reads it, so it is delivered again at once.
    for (const QString& statement : Schema::scriptStatements(":/schema/mxflk.sql"))
        Sql::run(statement);
}
