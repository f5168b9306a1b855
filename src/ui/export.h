#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class QSqlQuery;
class QWidget;

// Export of a query result to a spreadsheet file (.xlsx), the routine behind every
// "导出Excel" button:
//
//   Export::toSpreadsheet(this, "select fsrq as 日期, srje as 收入金额 ... where fsrq>=:d1",
//                         {from, to}, "财务报表", "系统正在导出数据,请稍候...");
//
// 1. The statement is run (as Sql runs it) and read forward only, so a result of any
//    size is streamed to the file without being held in memory. An empty result
//    answers with the plain message "没有找到您需要导出的记录！" and stops.
// 2. A save dialog proposes the name; Cancel stops silently. A name without a dot
//    anywhere in its path gets ".xlsx".
// 3. An existing file is replaced only after "当前位置已存在该文件名的文件，是否替换？"
//    (caption "系统询问") is answered Yes, and only once the new file is complete:
//    a failed export leaves the old file as it was.
// 4. The first sheet gets the column aliases in row 1 and one row per record below,
//    every cell a text as the grids show it (dates "yyyy-MM-dd", numbers in shortest
//    form, null empty). The busy notice with `busyText` shows while the file is written.
// 5. A failure (the store, the disk, a result too large for a sheet) is shown as an
//    error naming the file and the reason, and logged. Success is silent.
// Returns true when the file was written.
namespace Export {
inline constexpr const char* noRecordsText = "没有找到您需要导出的记录！";

bool toSpreadsheet(QWidget* parent, const QString& statement, const QVariantList& values,
                   const QString& proposedName, const QString& busyText);

// The same for a result the caller has already run (any open QSqlQuery, e.g. a small
// grid's). Exported from its first row; an empty result gives a sheet with only the
// header row; a query that is not active gives the notice "没有记录内容可以导出，操作失败！".
// Prefer the statement form for large results: a query that is not forward-only keeps
// every row it has read in memory.
bool toSpreadsheet(QWidget* parent, QSqlQuery& result, const QString& proposedName,
                   const QString& busyText = QString());

// --- the pieces, for tests and the benchmark ---

// The file a chosen name is saved as: ".xlsx" appended when there is no dot anywhere.
QString fileNameFor(const QString& chosen);
// A value as the grids show it.
QString cellText(const QVariant& value);
// Writes the workbook for `result` (positioned on its first record, or
// `onFirstRecord` false when it still stands before it) to `path`.
// Returns an empty text on success, otherwise the reason.
QString writeWorkbook(const QString& path, QSqlQuery& result, bool onFirstRecord);
} // namespace Export
