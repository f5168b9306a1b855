#include "reports/reportformat.h"

#include "data/dates.h"
#include "data/money.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace {
struct Pattern {
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouped = false;
};

Pattern parse(const QString& format)
{
    Pattern p;
    p.grouped = format.contains(',');
    const qsizetype point = format.indexOf('.');
    if (point >= 0) {
        for (qsizetype i = point + 1; i < format.size(); ++i) {
            if (format[i] == '0') {
                ++p.minDecimals;
                ++p.maxDecimals;
            } else if (format[i] == '#') {
                ++p.maxDecimals;
            }
        }
    }
    return p;
}

QString groupThousands(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}
} // namespace

QString ReportFormat::number(double value, const QString& format)
{
    const Pattern p = parse(format);
    QString text;
    if (p.maxDecimals <= 4) {
        // Through Money so that 2.675 prints 2.68 (half away from zero on the stored value).
        qint64 units = Money::fromDouble(value).units();
        qint64 step = 1;
        for (int i = p.maxDecimals; i < 4; ++i)
            step *= 10;
        const qint64 magnitude = (std::llabs(units) + step / 2) / step;
        const bool negative = units < 0 && magnitude != 0;
        qint64 scale = 1;
        for (int i = 0; i < p.maxDecimals; ++i)
            scale *= 10;
        QString whole = QString::number(magnitude / scale);
        QString fraction =
            p.maxDecimals > 0
                ? QString::number(magnitude % scale).rightJustified(p.maxDecimals, '0')
                : QString();
        while (fraction.size() > p.minDecimals && fraction.endsWith('0'))
            fraction.chop(1);
        if (p.grouped)
            whole = groupThousands(whole);
        text = (negative ? "-" : "") + whole + (fraction.isEmpty() ? "" : "." + fraction);
    } else {
        text = QString::number(value, 'f', p.maxDecimals);
    }
    return text;
}

QString ReportFormat::display(const QVariant& value, const QString& format)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return Dates::toText(value.toDate());
    const QString asText = value.toString();
    if (asText.trimmed().isEmpty())
        return {};
    bool numeric = false;
    const double number = asText.trimmed().toDouble(&numeric);
    if (!numeric)
        return asText;
    if (format.isEmpty()) {
        if (value.typeId() == QMetaType::QString)
            return asText;
        return Money::fromDouble(number).toShortest();
    }
    return ReportFormat::number(number, format);
}
