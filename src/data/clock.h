#pragma once

#include <QDate>

// The desk's notion of today. Tests fix it; the program uses the computer's date.
class Clock {
public:
    static QDate today();
    static void setToday(const QDate& date); // an invalid date returns to the real date
    static QDate fixedToday(); // the date set, or an invalid date while following the computer
};
