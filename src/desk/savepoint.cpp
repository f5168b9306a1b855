#include "desk/savepoint.h"

#include "data/sql.h"

void Savepoint::run(const QString& name, const std::function<void()>& work)
{
    Transaction transaction;     // joins the action's transaction, or is the part's own
    Transaction::beginWriting(); // a part is always written
    Sql::run("savepoint " + name);
    try {
        work();
    } catch (...) {
        Sql::run("rollback to " + name);
        Sql::run("release " + name);
        throw;
    }
    Sql::run("release " + name);
    transaction.commit();
}
