#pragma once

#include <QSqlDatabase>

// Text columns declared varchar(N) keep at most N GBK bytes. The store cuts a longer
// text at a character boundary (a shelf number of 8 characters keeps its first 6),
// whatever statement wrote it; the screens' boxes refuse the extra typing before that.
namespace ColumnWidths {
// Makes the gbk_cut(text, bytes) function known to a connection; done on every open.
bool registerFunctions(QSqlDatabase& db);
// Adds the cutting triggers for every varchar(N) column of a new database.
void createTriggers();
} // namespace ColumnWidths
