#pragma once

#include "desk/booksearch.h"
#include "reports/report.h"

// The library query report "图 书 馆 查 询 报 表" on B5: one line per book found by the
// desk's book information query, with its state in words and its copies held and lent.
//
//   Tdzjsprintfm report;
//   report.setRows(BookSearch::statement(conditions));
//   ReportOutput::preview(report.report(), this);
class Tdzjsprintfm {
public:
    void setRows(const BookSearchStatement& rows) { m_rows = rows; }
    Report report() const;

private:
    BookSearchStatement m_rows;
};
