#pragma once
// A local calendar date and time to the second, and the arithmetic on it.
#include <cstdint>

namespace tolvane {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds since 0001-01-01 00:00:00 in the proleptic Gregorian calendar.
std::int64_t ToSeconds(const DateTime& t);

bool operator==(const DateTime& a, const DateTime& b);

}  // namespace tolvane
