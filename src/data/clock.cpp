#include "data/clock.h"

namespace {
QDate& fixedDate()
{
    static QDate date;
    return date;
}
} // namespace

QDate Clock::today()
{
    return fixedDate().isValid() ? fixedDate() : QDate::currentDate();
}

void Clock::setToday(const QDate& date)
{
    fixedDate() = date;
}

QDate Clock::fixedToday()
{
    return fixedDate();
}
