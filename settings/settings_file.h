#pragma once
// Reading and writing settings data files.

#include "settings/settings_records.h"

#include <cstdint>

// Writes the header and the records to a file beside the target and moves it over the
// target only when every byte was written: a failure leaves an existing file whole.
// 0 on success, 1 when the file cannot be written.
std::uint32_t WriteSettingsFile(const SettingsRecord* records, std::uint64_t count,
                                const char16_t* path);

// Reads and checks a file into the 69 records: 0, 100 (converted from the older version) or
// a failure code 1 to 7, whose record is appended to the trail.
std::uint32_t ReadSettingsFile(SettingsRecords& records, const char16_t* path, ErrorTrail& trail);
