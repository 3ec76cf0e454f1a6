#pragma once
// The error trail: coded records of failures the user cannot see, held by the main window,
// saved and reported by the diagnostic log.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kErrorTrailCapacity = 1537; // 1536 characters and a zero
inline constexpr std::size_t kErrorRecordCapacity = 256;

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
