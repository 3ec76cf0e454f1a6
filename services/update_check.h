#pragma once
// The check for a newer version: at most once a day at start-up while the option is on, and
// on demand, at most five real checks a day in one run.

#include "services/service_address.h"
#include "services/update_answer.h"
#include "services/web.h"

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

// A check in three steps, so that its network part can run on a thread of its own while the
// store is read before and written after it on the window's thread.
struct UpdateCheckPlan {
    enum class Ask { Nothing, Probe, Answer };
    Ask ask;    // what to ask of the service
    int result; // with Nothing the result; with Probe the result if the service is there
    std::uint32_t today;
};
// What the service said.
struct UpdateFetch {
    int code = kFetchCannotOpen; // FetchUpdateInfo's
    unsigned char answer[kUpdateAnswerCapacity] = {};
    std::size_t received = 0;
};

// Counts the check and decides from the store what it needs of the service.
UpdateCheckPlan PlanUpdateCheck(bool forced, UpdateCheckState& state);
// Asks the service what the plan needs, done by the deadline. Touches neither store nor state.
UpdateFetch FetchForPlan(const UpdateCheckPlan& plan, const ServiceEndpoint& service,
                         WebClock::time_point deadline);
// The check's result from what the service said; a real answer is stored.
int FinishUpdateCheck(const UpdateCheckPlan& plan, const UpdateFetch& fetch);

// kUpToDate, kNewVersion or kServiceUnavailable. A check that is not forced (the start-up
// check) asks the service only while the option is on and not again on a day already checked.
int CheckForUpdate(bool forced, UpdateCheckState& state, const ServiceEndpoint& service,
                   WebClock::time_point deadline);
