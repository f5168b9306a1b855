#pragma once

#include "desk/ledgerselection.h"
#include "reports/report.h"

#include <QString>

// The finance report "财 务 明 细 报 表" on B5: one line per listed ledger row with
// the income and expenditure totals, and the range it covers in the heading.
//
//   Tcwprintfm report;
//   report.setRange(fromText, "-", toText);  // or (fromText, "", "") for a single day
//   report.setRows(selection);
//   ReportOutput::preview(report.report(), this);
class Tcwprintfm {
public:
    void setRange(const QString& from, const QString& dash, const QString& to)
    {
        m_from = from;
        m_dash = dash;
        m_to = to;
    }
    void setRows(const LedgerSelection& rows) { m_rows = rows; }

    Report report() const;

private:
    QString m_from;
    QString m_dash;
    QString m_to;
    LedgerSelection m_rows;
};
