#pragma once

#include <QDate>
#include <QString>

// Dates are shown, typed and stored as "yyyy-MM-dd"; typing also accepts
// "yyyy/M/d" and "yyyy-M-d", also in full-width forms ("２０２７－０１－０１").
namespace Dates {
inline constexpr const char* displayFormat = "yyyy-MM-dd";

QString toText(const QDate& date); // empty for an invalid date
QDate parse(const QString& text);  // invalid when the text is not a date
bool isDate(const QString& text);
} // namespace Dates
