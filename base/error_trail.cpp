#include "base/error_trail.h"

#include "base/text.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

void appendRecord(ErrorTrail& trail, const char* record) {
    if (std::strstr(trail.text, record) != nullptr) return;
    StrAppendBounded(trail.text, record, kErrorTrailCapacity);
}

// The stage and ":" begin every record.
void beginRecord(char (&record)[kErrorRecordCapacity], std::uint32_t stage) {
    std::memset(record, 0, sizeof record);
    char number[24];
    std::snprintf(number, sizeof number, "%" PRIu32, stage);
    StrAppendBounded(record, number, kErrorRecordCapacity);
    StrAppendBounded(record, ":", kErrorRecordCapacity);
}

} // namespace

void AppendErrorRecord(ErrorTrail& trail, std::uint32_t stage, std::uint64_t number) {
    char record[kErrorRecordCapacity];
    beginRecord(record, stage);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%" PRIu64, number);
    StrAppendBounded(record, digits, kErrorRecordCapacity);
    StrAppendBounded(record, ";", kErrorRecordCapacity);
    appendRecord(trail, record);
}

void AppendSignedErrorRecord(ErrorTrail& trail, std::uint32_t stage, std::int64_t number) {
    char record[kErrorRecordCapacity];
    beginRecord(record, stage);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%" PRId64, number);
    StrAppendBounded(record, digits, kErrorRecordCapacity);
    StrAppendBounded(record, ";", kErrorRecordCapacity);
    appendRecord(trail, record);
}

void AppendTextErrorRecord(ErrorTrail& trail, std::uint32_t stage, const char* text) {
    char record[kErrorRecordCapacity];
    beginRecord(record, stage);
    StrAppendBounded(record, "\"", kErrorRecordCapacity);
    StrAppendBounded(record, text, kErrorRecordCapacity);
    StrAppendBounded(record, "\"", kErrorRecordCapacity);
    StrAppendBounded(record, ";", kErrorRecordCapacity);
    appendRecord(trail, record);
}
