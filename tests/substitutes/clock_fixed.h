#pragma once
// The native build's clock: the host's local time, and the date a test has set (none: the clock
// cannot tell the date).
#include "services/clock.h"

#include <optional>

namespace fixedclock {
inline std::optional<LocalDate> date;
} // namespace fixedclock
