// The native build's clock: the host's local date unless a test has set one.
#include "services/clock.h"
#include "tests/substitutes/clock_fixed.h"

#include <ctime>
#include <optional>

namespace {

std::optional<LocalDate>& fixedDate() {
    static std::optional<LocalDate> date;
    return date;
}

} // namespace

namespace fixedclock {

void SetDate(int year, int month, int day) {
    fixedDate() = LocalDate{year, month, day};
}
void Reset() {
    fixedDate().reset();
}

} // namespace fixedclock

bool ReadLocalDate(LocalDate& date) {
    if (fixedDate()) {
        date = *fixedDate();
        return true;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return false;
    date = LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    return true;
}
