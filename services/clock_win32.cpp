// The local date and time from the C runtime's 64-bit time functions.
#include "services/clock.h"

#include <ctime>

bool ReadLocalDate(LocalDate& date) {
    const __time64_t now = _time64(nullptr);
    const tm* local = _localtime64(&now);
    if (!local) return false;
    date = LocalDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
    return true;
}

bool ReadLocalTime(LocalTime& time) {
    const __time64_t now = _time64(nullptr);
    const tm* local = _localtime64(&now);
    if (!local) return false;
    time = LocalTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                     local->tm_hour,        local->tm_min,     local->tm_sec};
    return true;
}
