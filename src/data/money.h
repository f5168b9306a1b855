#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

// An amount of money with four decimal places, held exactly as ten-thousandths.
// Stored as a number; shown with two decimals ("0.00") or in shortest form (12.5, 30).
class Money {
public:
    constexpr Money() = default;

    static Money fromUnits(qint64 tenThousandths);
    static Money fromDouble(double value);                          // rounded half away from zero
    static Money fromText(const QString& text, bool* ok = nullptr); // typed, full-width too
    static Money fromVariant(const QVariant& value);                // null and blank read as 0

    qint64 units() const { return m_units; }
    double toDouble() const;
    bool isZero() const { return m_units == 0; }

    QString toFixed2() const;   // "12.50"
    QString toShortest() const; // "12.5", "30", "-0.25"

    Money operator+(Money other) const { return fromUnits(m_units + other.m_units); }
    Money operator-(Money other) const { return fromUnits(m_units - other.m_units); }
    Money operator-() const { return fromUnits(-m_units); }
    Money& operator+=(Money other)
    {
        m_units += other.m_units;
        return *this;
    }
    Money operator*(qint64 factor) const { return fromUnits(m_units * factor); }
    auto operator<=>(const Money&) const = default;

private:
    qint64 m_units = 0;
};
