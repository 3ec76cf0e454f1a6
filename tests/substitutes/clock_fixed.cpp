#include "tests/substitutes/clock_fixed.h"

#include <ctime>

bool ReadLocalTime(LocalTime& time) {
    std::tm local{};
    const std::time_t now = std::time(nullptr);
    if (!localtime_r(&now, &local)) return false;
    time = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
    return true;
}

bool ReadLocalDate(LocalDate& date) {
    if (fixedclock::date) date = *fixedclock::date;
    return fixedclock::date.has_value();
}
