#pragma once

#include "desk/disposal.h"
#include "reports/report.h"

#include <QString>

// The disposal report "旧 书 处 理 报 表" on B5: one line per listed disposal, the range
// it covers and the total received.
//
//   Tjsprintfm report;
//   report.setRange(fromText, toText);   // toText empty for a single day
//   report.setRows(selection);
//   ReportOutput::preview(report.report(), this);
class Tjsprintfm {
public:
    void setRange(const QString& from, const QString& to)
    {
        m_from = from;
        m_to = to;
    }
    void setRows(const Disposal::Selection& rows) { m_rows = rows; }
    Report report() const;

private:
    QString m_from;
    QString m_to;
    Disposal::Selection m_rows;
};
