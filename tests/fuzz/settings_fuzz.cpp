// The settings file reader on any bytes: no fault, a record for failures only, every record usable
// or not; importing them sets only controls named in 5 to 20 units, texts of at most 50.
#include "settings/settings_records.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(const char16_t* name, const char16_t* text = u"") {
    const std::size_t n = std::u16string(name).size();
    if (n < 5 || n > 20 || std::u16string(text).size() > 50) std::abort();
}
struct CheckingTarget : SettingsTarget {
    bool setCheckBox(const char16_t* name, bool) override { return check(name), true; }
    void setSpinValue(const char16_t* name, std::uint32_t) override { check(name); }
    void setLineText(const char16_t* name, const char16_t* text) override { check(name, text); }
    void setRadioPair(bool) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsRecords records;
    std::memset(records, 0xbd, sizeof records);
    ErrorTrail trail{"101000#", 7};
    const SettingsResult code = ParseSettingsFile(data, size, records, trail);
    const bool read = code == SettingsOk || code == SettingsConverted;
    for (const SettingsRecord& r : records)
        if (read == (std::strlen(trail.text) > 7) || (read && r.valid > 1)) std::abort();
    CheckingTarget target;
    if (read) ImportSettingsRecords(records, 0x3FFFFFF, target);
    return 0;
}
