#pragma once

#include "reports/report.h"

#include <QString>

// The classification report "图书分类报表" on A4: one line per classification pair of
// the classification query, in the query's order, and the page number at the end.
//
//   TFormtsflbb report;
//   report.setFirstLevelCode(combo->currentText());   // empty: every pair
//   ReportOutput::preview(report.report(), this);
class TFormtsflbb {
public:
    void setFirstLevelCode(const QString& code) { m_code = code; }
    Report report() const;

    // The pairs the classification query lists for a first-level code (a prefix; empty: all).
    static constexpr const char* statement =
        "select * from tsflm where dldm like :dldm order by dldm,iid";

private:
    QString m_code;
};
