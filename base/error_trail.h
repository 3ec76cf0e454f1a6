#pragma once
// The error trail: coded records of failures the user cannot see, held by the main window,
// saved and reported by the diagnostic log.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kErrorTrailCapacity = 1537; // 1536 characters and a zero
inline constexpr std::size_t kErrorRecordCapacity = 256;

// The stages a record names: where the failure happened. The number after it is the failing
// call's code, or what the stage says.
enum ErrorStage : std::uint32_t {
    kStageSchedulerUnreachable = 1, // the Task Scheduler: not reached, or no answer in time
    kStageTaskNotOpened = 2,        // the telemetry task could not be opened
    kStageTaskCommandFailed = 3,    // the task's state could not be read or changed
    kStageSettingsNotOpened = 51,   // a settings file could not be opened: errno
    kStageSettingsMaker = 52,       // a settings file of another maker: its text
    kStageSettingsProduct = 53,     // ... of another product: its text
    kStageSettingsVersion = 54,     // ... of an unknown version: the version
    kStageSettingsCount = 55,       // ... with another record count: the count
    kStageSettingsShort = 56,       // ... with fewer records than it says: those read
    kStageOlderSettingsCount = 57,  // an older file with another record count
    kStageOlderSettingsShort = 58,  // an older file with fewer records than it says
    kStageBackupFailed = 61,        // a backup could not be written: 1 no folder, 2 not written
};

struct ErrorTrail {
    char text[kErrorTrailCapacity];
    std::uint64_t sentLength; // characters of text already reported
};

// Each appends "<stage>:<number>;" (or "<stage>:\"<text>\";") unless the same record already
// occurs anywhere in the trail as a substring. A record is at most 255 characters; the trail
// keeps at most 1536, cutting or dropping what does not fit.
void AppendErrorRecord(ErrorTrail& trail, std::uint32_t stage, std::uint64_t number);
void AppendSignedErrorRecord(ErrorTrail& trail, std::uint32_t stage, std::int64_t number);
void AppendTextErrorRecord(ErrorTrail& trail, std::uint32_t stage, const char* text);
