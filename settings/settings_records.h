#pragma once
// The settings data file: a 47-byte header and one fixed-size record per tweak. This holds the
// records, their byte image and the checks of the reader; the file itself is settings_file.h.

#include "engine/feature_model.h"
#include "base/error_trail.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr char kSettingsMakerTag[] = "Quenorith";                    // 9 bytes in the file
inline constexpr char kSettingsProductTag[] = "Velkarostrandemilquorbenix"; // 26 bytes
inline constexpr std::uint32_t kSettingsVersion = 101000;
inline constexpr std::uint32_t kLegacySettingsVersion = 100000;
inline constexpr std::size_t kSettingsHeaderSize = 47;
// A record per item of the model, in model order: the drive records, one per letter, stand where
// the drive slots stand.
inline constexpr std::size_t kSettingsRecordCount = kModelItems;
inline constexpr std::size_t kLegacyRecordCount = 56;
inline constexpr std::size_t kLegacyRecordSize = 8;
inline constexpr std::size_t kSettingsFileSize = kSettingsHeaderSize + kSettingsRecordCount * 120;

// The reader's result codes.
enum SettingsResult : std::uint32_t {
    SettingsOk = 0,
    SettingsCannotOpen = 1, // also: the writer could not create or complete the file
    SettingsBadMaker = 2,
    SettingsBadProduct = 3,
    SettingsBadVersion = 4,
    SettingsBadCount = 5,
    SettingsShortRecords = 6,
    SettingsShortLegacyRecords = 7,
    SettingsConverted = 100,
};

struct SettingsRecord {
    std::uint32_t page;
    std::uint32_t group; // 1 for the drive records of page 0
    std::uint32_t index; // item number; for a drive record the letter, 0 = A to 25 = Z
    FeatureValue value;
    std::uint32_t valid; // set by the reader: 1 when the record may be used
};
static_assert(sizeof(SettingsRecord) == 120);

using SettingsRecords = SettingsRecord[kSettingsRecordCount];

// The records of the pending values, drives by letter: slot k stands for the k-th drive of
// presentDrives, whose record holds 1 when the slot's pending number is 1; others hold 0.
void BuildSettingsRecords(const FeatureModel& model, std::uint32_t presentDrives,
                          SettingsRecords& records);

// The file's bytes: header with the current version and the count, then the records.
std::vector<unsigned char> SettingsFileImage(const SettingsRecord* records, std::uint64_t count);

// Checks the bytes of a file and fills the 69 records (converting a version-100000 file).
// On a failure the record of its stage is appended to the trail.
SettingsResult ParseSettingsFile(const unsigned char* bytes, std::size_t size,
                                 SettingsRecords& records, ErrorTrail& trail);

// Where imported records go: the controls of the main window, or any other holder of the
// same names.
class SettingsTarget {
  public:
    virtual ~SettingsTarget() = default;
    // False when no check box has that name.
    virtual bool setCheckBox(const char16_t* name, bool checked) = 0;
    virtual void setSpinValue(const char16_t* name, std::uint32_t value) = 0;
    virtual void setLineText(const char16_t* name, const char16_t* text) = 0;
    // The autorun radio pair: the first button (disable autorun) or the second.
    virtual void setRadioPair(bool first) = 0;
};

// Sets the target from every valid record, drives matched by letter against presentDrives
// (for the window, the drives its boxes show).
void ImportSettingsRecords(const SettingsRecords& records, std::uint32_t presentDrives,
                           SettingsTarget& target);
