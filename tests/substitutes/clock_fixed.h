#pragma once
// The native build's clock tells the host's local time unless a test has set this date, or
// cannot tell the time at all.

#include "services/clock.h"

#include <optional>

namespace fixedclock {

inline std::optional<LocalDate> date;
inline bool unreadable = false;

} // namespace fixedclock
