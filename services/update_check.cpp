#include "services/update_check.h"

#include "services/app_data_store.h"
#include "services/clock.h"

#include <string_view>

std::uint32_t DayNumberOf(int year, int month, int day) {
    std::int64_t y = year;
    std::int64_t m = month;
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    return static_cast<std::uint32_t>(365 * y + y / 4 - y / 100 + y / 400 + (153 * m - 457) / 5 +
                                      day - 306);
}

std::uint32_t DayNumber() {
    LocalDate date;
    if (!ReadLocalDate(date)) return 0;
    return DayNumberOf(date.year, date.month, date.day);
}

UpdateCheckPlan PlanUpdateCheck(bool forced, UpdateCheckState& state) {
    const std::uint32_t today = DayNumber();
    using Ask = UpdateCheckPlan::Ask;

    // Enough real checks today: probe the service and repeat the last real result.
    if (state.checksToday >= kDailyCheckLimit && state.checkDay == today) {
        const std::int32_t last = GetStoreInt(kLastUpdateResultKey, 0, kMachineScope);
        const bool newVersion = last == kUpdateResultBase + kNewVersion;
        return {Ask::Probe, newVersion ? kNewVersion : kUpToDate, today};
    }

    state.checksToday = state.checkDay == today ? state.checksToday + 1 : 1;
    state.checkDay = today;

    if (!forced) {
        if (GetStoreInt(kCheckForUpdatesKey, 1, kMachineScope) != 1)
            return {Ask::Nothing, kUpToDate, today};
        const std::int32_t lastDay = GetStoreInt(kLastUpdateCheckDayKey, 0, kMachineScope);
        if (static_cast<std::uint32_t>(lastDay) == today) return {Ask::Nothing, kUpToDate, today};
    }
    return {Ask::Answer, kUpToDate, today};
}

UpdateFetch FetchForPlan(const UpdateCheckPlan& plan, const ServiceEndpoint& service,
                         WebClock::time_point deadline) {
    UpdateFetch fetch;
    if (plan.ask == UpdateCheckPlan::Ask::Probe)
        fetch.code = FetchUpdateInfo(service, nullptr, 0, nullptr, deadline);
    else if (plan.ask == UpdateCheckPlan::Ask::Answer)
        fetch.code =
            FetchUpdateInfo(service, fetch.answer, sizeof fetch.answer, &fetch.received, deadline);
    return fetch;
}

int FinishUpdateCheck(const UpdateCheckPlan& plan, const UpdateFetch& fetch) {
    if (plan.ask == UpdateCheckPlan::Ask::Nothing) return plan.result;
    if (fetch.code != kFetchDone) return kServiceUnavailable;
    if (plan.ask == UpdateCheckPlan::Ask::Probe) return plan.result;

    SetStoreInt(kLastUpdateCheckDayKey, static_cast<std::int32_t>(plan.today), kMachineScope);
    const std::string_view text(reinterpret_cast<const char*>(fetch.answer),
                                fetch.received < sizeof fetch.answer ? fetch.received
                                                                     : sizeof fetch.answer);
    const int result = ParseUpdateAnswer(text, kUpdateField);
    SetStoreInt(kLastUpdateResultKey, kUpdateResultBase + result, kMachineScope);
    return result;
}

int CheckForUpdate(bool forced, UpdateCheckState& state, const ServiceEndpoint& service,
                   WebClock::time_point deadline) {
    const UpdateCheckPlan plan = PlanUpdateCheck(forced, state);
    return FinishUpdateCheck(plan, FetchForPlan(plan, service, deadline));
}
