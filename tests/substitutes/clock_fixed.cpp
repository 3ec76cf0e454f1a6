#include "services/clock.h"
#include "tests/substitutes/clock_fixed.h"

#include <ctime>

bool ReadLocalTime(LocalTime& time) {
    if (fixedclock::unreadable) return false;
    if (fixedclock::date) {
        time = {fixedclock::date->year, fixedclock::date->month, fixedclock::date->day, 0, 0, 0};
        return true;
    }
    std::tm local{};
    const std::time_t now = std::time(nullptr);
    if (!localtime_r(&now, &local)) return false;
    time = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
    return true;
}

bool ReadLocalDate(LocalDate& date) {
    LocalTime time{};
    if (!ReadLocalTime(time)) return false;
    date = {time.year, time.month, time.day};
    return true;
}
