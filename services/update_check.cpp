#include "services/update_check.h"

#include "services/app_data_store.h"
#include "services/clock.h"
#include "services/update_answer.h"
#include "services/web.h"

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

int CheckForUpdate(bool forced, UpdateCheckState& state, const ServiceEndpoint& service) {
    const std::uint32_t today = DayNumber();

    // Enough real checks today: probe the service and repeat the last real result.
    if (state.checksToday >= kDailyCheckLimit && state.checkDay == today) {
        const std::int32_t last = GetStoreInt(kLastUpdateResultKey, 0, kMachineScope);
        if (FetchUpdateInfo(service, nullptr, 0, nullptr) != kFetchDone) return kServiceUnavailable;
        const bool stored =
            last == kUpdateResultBase + kUpToDate || last == kUpdateResultBase + kNewVersion;
        return stored ? last - kUpdateResultBase : kUpToDate;
    }

    state.checksToday = state.checkDay == today ? state.checksToday + 1 : 1;
    state.checkDay = today;

    if (!forced) {
        if (GetStoreInt(kCheckForUpdatesKey, 1, kMachineScope) != 1) return kUpToDate;
        const std::int32_t lastDay = GetStoreInt(kLastUpdateCheckDayKey, 0, kMachineScope);
        if (static_cast<std::uint32_t>(lastDay) == today) return kUpToDate;
    }

    unsigned char answer[kUpdateAnswerCapacity] = {};
    std::size_t received = 0;
    if (FetchUpdateInfo(service, answer, sizeof answer, &received) != kFetchDone)
        return kServiceUnavailable;
    SetStoreInt(kLastUpdateCheckDayKey, static_cast<std::int32_t>(today), kMachineScope);

    const std::string_view text(reinterpret_cast<const char*>(answer),
                                received < sizeof answer ? received : sizeof answer);
    const int result = ParseUpdateAnswer(text, kUpdateField);
    SetStoreInt(kLastUpdateResultKey, kUpdateResultBase + result, kMachineScope);
    return result;
}
