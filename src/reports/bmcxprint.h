#pragma once

#include "desk/bookquery.h"
#include "reports/report.h"

// The catalogue report "编  目  报  表" on A4: one line per title the book query listed,
// and the number of records under them.
//
//   Tbmcxprintfm report;
//   report.setRows(BookQuery::statement(conditions));
//   report.setRecordCount(BookQuery::count(conditions));
//   ReportOutput::preview(report.report(), this);
class Tbmcxprintfm {
public:
    void setRows(const BookQueryStatement& rows) { m_rows = rows; }
    void setRecordCount(int count) { m_count = count; }
    Report report() const;

private:
    BookQueryStatement m_rows;
    int m_count = 0;
};
