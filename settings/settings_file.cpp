#include "settings/settings_file.h"

#include "services/app_files.h"

#include <cerrno>
#include <string>
#include <vector>

std::uint32_t WriteSettingsFile(const SettingsRecord* records, std::uint64_t count,
                                const char16_t* path) {
    const std::vector<unsigned char> image = SettingsFileImage(records, count);
    const std::u16string temporary = std::u16string(path) + u".tmp";
    {
        UniqueFile file = OpenDataFile(temporary.c_str(), u"wb");
        if (!file) return SettingsCannotOpen;
        const bool written =
            std::fwrite(image.data(), 1, image.size(), file.get()) == image.size() &&
            std::fflush(file.get()) == 0;
        if (!file.close() || !written) {
            RemoveDataFile(temporary.c_str());
            return SettingsCannotOpen;
        }
    }
    if (!MoveDataFileOver(temporary.c_str(), path)) {
        RemoveDataFile(temporary.c_str());
        return SettingsCannotOpen;
    }
    return SettingsOk;
}

std::uint32_t ReadSettingsFile(SettingsRecords& records, const char16_t* path, ErrorTrail& trail) {
    errno = 0;
    UniqueFile file = OpenDataFile(path, u"rb");
    if (!file) {
        AppendSignedErrorRecord(trail, 51, errno);
        return SettingsCannotOpen;
    }
    // Nothing beyond a whole current file is ever looked at.
    std::vector<unsigned char> bytes(kSettingsFileSize);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return ParseSettingsFile(bytes.data(), bytes.size(), records, trail);
}
