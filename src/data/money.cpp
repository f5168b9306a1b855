#include "data/money.h"

#include "data/typing.h"

#include <QRegularExpression>
#include <cmath>

namespace {
constexpr qint64 unitsPerWhole = 10000;
// The money columns are real numbers, which hold an amount to the ten-thousandth only up
// to about 9e11: a typed amount has at most this many digits before the point.
constexpr int maxWholeDigits = 11;
} // namespace

Money Money::fromUnits(qint64 tenThousandths)
{
    Money m;
    m.m_units = tenThousandths;
    return m;
}

Money Money::fromDouble(double value)
{
    return fromUnits(static_cast<qint64>(std::llround(value * unitsPerWhole)));
}

Money Money::fromText(const QString& text, bool* ok)
{
    static const QRegularExpression pattern(R"(^\s*([+-]?)(\d*)(?:\.(\d*))?\s*$)");
    const auto match = pattern.match(Typing::halfWidth(text));
    const bool valid = match.hasMatch() &&
                       !(match.captured(2).isEmpty() && match.captured(3).isEmpty()) &&
                       match.captured(2).size() <= maxWholeDigits;
    if (ok)
        *ok = valid;
    if (!valid)
        return {};
    const qint64 whole = match.captured(2).isEmpty() ? 0 : match.captured(2).toLongLong();
    QString fraction = match.captured(3);
    // Round the fraction to four places, half away from zero.
    bool roundUp = fraction.size() > 4 && fraction.at(4) >= QChar('5');
    fraction = fraction.left(4).leftJustified(4, QChar('0'));
    qint64 units = whole * unitsPerWhole + fraction.toLongLong() + (roundUp ? 1 : 0);
    if (match.captured(1) == QLatin1String("-"))
        units = -units;
    return fromUnits(units);
}

Money Money::fromVariant(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const Money m = fromText(value.toString(), &ok);
        return ok ? m : Money();
    }
    return fromDouble(value.toDouble());
}

double Money::toDouble() const
{
    return static_cast<double>(m_units) / unitsPerWhole;
}

QString Money::toFixed2() const
{
    // Round half away from zero to hundredths.
    const qint64 magnitude = std::llabs(m_units);
    const qint64 cents = (magnitude + 50) / 100;
    const QString text = QString("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar('0'));
    return (m_units < 0 && cents != 0) ? "-" + text : text;
}

QString Money::toShortest() const
{
    const qint64 magnitude = std::llabs(m_units);
    QString text = QString::number(magnitude / unitsPerWhole);
    QString fraction = QString("%1").arg(magnitude % unitsPerWhole, 4, 10, QChar('0'));
    while (fraction.endsWith(QChar('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += "." + fraction;
    return m_units < 0 ? "-" + text : text;
}
