#pragma once
// Control of the native build's clock.

namespace fixedclock {

// From now on the local date is this one.
void SetDate(int year, int month, int day);
// Back to the host's own clock.
void Reset();

} // namespace fixedclock
