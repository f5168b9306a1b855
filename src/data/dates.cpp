#include "data/dates.h"

#include "data/typing.h"

#include <QRegularExpression>

QString Dates::toText(const QDate& date)
{
    return date.isValid() ? date.toString(displayFormat) : QString();
}

QDate Dates::parse(const QString& text)
{
    static const QRegularExpression pattern(
        R"(^\s*(\d{4})\s*[-/.]\s*(\d{1,2})\s*[-/.]\s*(\d{1,2})\s*$)");
    const auto match = pattern.match(Typing::halfWidth(text));
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

bool Dates::isDate(const QString& text)
{
    return parse(text).isValid();
}
