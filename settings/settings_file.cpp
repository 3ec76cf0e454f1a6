#include "settings/settings_file.h"

#include "services/app_files.h"

#include <cerrno>
#include <string>
#include <vector>

std::uint32_t WriteSettingsFile(const SettingsRecord* records, std::uint64_t count,
                                const char16_t* path) {
    const std::vector<unsigned char> image = SettingsFileImage(records, count);
    return WriteDataFile(path, image.data(), image.size(), WriteMode::Replace) ==
                   WriteOutcome::Written
               ? SettingsOk
               : SettingsCannotOpen;
}

std::uint32_t ReadSettingsFile(SettingsRecords& records, const char16_t* path, ErrorTrail& trail) {
    errno = 0;
    UniqueFile file = OpenDataFile(path, u"rb");
    if (!file) {
        AppendSignedErrorRecord(trail, kStageSettingsNotOpened, errno);
        return SettingsCannotOpen;
    }
    // Nothing beyond a whole current file is ever looked at.
    std::vector<unsigned char> bytes(kSettingsFileSize);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return ParseSettingsFile(bytes.data(), bytes.size(), records, trail);
}
