#pragma once

#include <QString>
#include <QVariant>

// Display formats of report fields, written as the desk writes them:
// "0.00" (two decimals), "0" (whole number), "#,##0.00" (thousands grouped),
// "0.##" (up to two decimals). Rounding is half away from zero, as for money.
namespace ReportFormat {
// A value as a report shows it: null and blank print nothing; a value that is not a
// number prints as it is, whatever the format; without a format numbers print in
// shortest form (12.5) and dates as "yyyy-MM-dd".
QString display(const QVariant& value, const QString& format);
QString number(double value, const QString& format);
} // namespace ReportFormat
