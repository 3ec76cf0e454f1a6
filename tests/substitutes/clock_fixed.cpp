// The native build's clock: the host's local time unless a test has set a date.
#include "services/clock.h"
#include "tests/substitutes/clock_fixed.h"

#include <ctime>
#include <optional>

namespace {

std::optional<LocalTime> fixedTime;

} // namespace

void fixedclock::SetDate(int year, int month, int day) {
    fixedTime = LocalTime{year, month, day, 0, 0, 0};
}

void fixedclock::Reset() {
    fixedTime.reset();
}

bool ReadLocalTime(LocalTime& time) {
    if (fixedTime) {
        time = *fixedTime;
        return true;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return false;
    time = LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
    return true;
}

bool ReadLocalDate(LocalDate& date) {
    LocalTime time{};
    if (!ReadLocalTime(time)) return false;
    date = LocalDate{time.year, time.month, time.day};
    return true;
}
