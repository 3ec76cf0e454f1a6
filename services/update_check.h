#pragma once
// The check for a newer version: at most once a day at start-up while the option is on, and
// on demand, at most five real checks a day in one run.

#include "services/service_address.h"

#include <cstdint>

struct UpdateCheckState {
    std::int32_t checksToday; // checks since the day in checkDay began
    std::uint32_t checkDay;   // DayNumber of the last check
};

inline constexpr int kUpToDate = 0;
inline constexpr int kNewVersion = 1;
inline constexpr int kServiceUnavailable = 2;

inline constexpr std::int32_t kDailyCheckLimit = 5;
inline constexpr std::int32_t kUpdateResultBase = 808000; // stored as this plus the result

// Days in the proleptic Gregorian calendar, 1 January of year 1 being day 1.
std::uint32_t DayNumberOf(int year, int month, int day);
// Today's local day number; 0 when the clock cannot tell.
std::uint32_t DayNumber();

// kUpToDate, kNewVersion or kServiceUnavailable. A check that is not forced (the start-up
// check) asks the service only while the option is on and not again on a day already checked.
int CheckForUpdate(bool forced, UpdateCheckState& state,
                   const ServiceEndpoint& service = BuiltInServiceEndpoint());
