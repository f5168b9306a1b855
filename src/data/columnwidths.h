#pragma once

#include <QString>
#include <QStringList>

// Text columns declared varchar(N) keep at most N GBK bytes. The table is read once
// from the delivered schema's declarations; the one write path (Sql) cuts a longer
// text at a character boundary when it binds it (a shelf number of 8 characters keeps
// its first 6). The screens' boxes refuse the extra typing before that.
namespace ColumnWidths {
// The declared width of a column in GBK bytes, 0 when it has none (text, numbers,
// unknown tables and columns). Names are compared without regard to case.
int width(const QString& table, const QString& column);
// The columns of a table in declared order (for inserts that write by position).
QStringList columns(const QString& table);
// The text as the column keeps it.
QString cut(const QString& table, const QString& column, const QString& text);
} // namespace ColumnWidths
