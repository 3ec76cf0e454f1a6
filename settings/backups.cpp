#include "settings/backups.h"

#include "base/text.h"
#include "engine/change_outcome.h"
#include "engine/feature_model.h"
#include "services/app_data_store.h"
#include "settings/settings_file.h"
#include "settings/settings_records.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr std::u16string_view kExtension = u".vlkd";
constexpr std::size_t kStampLength = 19; // "2026-12-07 14.05.09"

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// A backup's place in time: when it was written, then its stamp and copy number (1 for the
// first of a second). The time of writing comes first: a clock put back (the end of summer
// time) gives names that sort before older ones.
struct BackupKey {
    std::uint64_t written;
    std::u16string stamp;
    unsigned copy;
    auto operator<=>(const BackupKey&) const = default;
};

// "YYYY-MM-DD hh.mm.ss.vlkd" or "YYYY-MM-DD hh.mm.ss (n).vlkd"; anything else is no backup.
std::optional<BackupKey> keyOf(std::u16string_view name, std::uint64_t written) {
    if (name.size() < kStampLength + kExtension.size() ||
        name.substr(name.size() - kExtension.size()) != kExtension)
        return std::nullopt;
    constexpr std::u16string_view shape = u"0000-00-00 00.00.00";
    for (std::size_t k = 0; k < kStampLength; ++k)
        if (shape[k] == u'0' ? !isDigit(name[k]) : name[k] != shape[k]) return std::nullopt;
    const std::u16string_view rest =
        name.substr(kStampLength, name.size() - kStampLength - kExtension.size());
    unsigned copy = 1;
    if (!rest.empty()) {
        if (rest.size() < 4 || rest.substr(0, 2) != u" (" || rest.back() != u')')
            return std::nullopt;
        copy = 0;
        for (char16_t c : rest.substr(2, rest.size() - 3)) {
            if (!isDigit(c) || copy > 100000) return std::nullopt;
            copy = copy * 10 + static_cast<unsigned>(c - u'0');
        }
    }
    return BackupKey{written, std::u16string(name.substr(0, kStampLength)), copy};
}

// The names of the backups in the folder, oldest first.
std::vector<std::u16string> sortedNames(const std::u16string& folder) {
    std::vector<std::pair<BackupKey, std::u16string>> found;
    for (DataFileEntry& file : ListDataFolder(folder.c_str()))
        if (auto key = keyOf(file.name, file.written))
            found.emplace_back(std::move(*key), std::move(file.name));
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::u16string> names;
    for (auto& entry : found)
        names.push_back(std::move(entry.second));
    return names;
}

// The name of the copy of a backup stamped `now`: the first of a second has none.
std::u16string nameOf(const LocalTime& now, unsigned copy) {
    char stamp[72]; // room for any six numbers
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d.%02d.%02d", now.year, now.month,
                  now.day, now.hour, now.minute, now.second);
    std::u16string name = fromUtf8(stamp);
    if (copy > 1) name += u" (" + fromUtf8(std::to_string(copy)) + u")";
    return name + std::u16string(kExtension);
}

// Writes the image as a backup stamped `now` under the first name that is free, which it takes
// exclusively: of two writers in one second each keeps a backup of its own. Empty on failure.
std::u16string writeUnderFreeName(const std::u16string& folder, const LocalTime& now,
                                  const std::vector<unsigned char>& image,
                                  const std::vector<std::u16string>& taken) {
    for (unsigned copy = 1; copy <= kBackupCopiesPerSecond; ++copy) {
        const std::u16string name = nameOf(now, copy);
        if (std::find(taken.begin(), taken.end(), name) != taken.end()) continue;
        const std::u16string path = folder + u"\\" + name;
        switch (WriteDataFile(path.c_str(), image.data(), image.size(), WriteMode::New)) {
        case WriteOutcome::Written:
            return path;
        case WriteOutcome::Exists:
            continue;
        case WriteOutcome::Failed:
            return {};
        }
    }
    return {};
}

// The backup just written is the newest, whatever the clock says: when it was put back (a
// restored snapshot, a reset clock) and a backup carries a later time, this one is given a time
// just after that one's, so that the order of writing holds for the retention and for undo.
void markNewest(const std::u16string& folder, const std::u16string& name) {
    std::uint64_t latest = 0, own = 0;
    for (const DataFileEntry& file : ListDataFolder(folder.c_str())) {
        if (file.name == name)
            own = file.written;
        else if (keyOf(file.name, file.written))
            latest = std::max(latest, file.written);
    }
    if (own <= latest) SetDataFileWritten((folder + u"\\" + name).c_str(), latest + 1);
}

} // namespace

std::u16string BackupFolder() {
    char16_t path[kStorePathCapacity];
    if (!StoreFilePath(kBackupFolderName, kUserScope, path)) return {};
    MakeDataFolder(path);
    return path;
}

std::vector<std::u16string> ListBackups() {
    const std::u16string folder = BackupFolder();
    if (folder.empty()) return {};
    std::vector<std::u16string> paths;
    for (const std::u16string& name : sortedNames(folder))
        paths.insert(paths.begin(), folder + u"\\" + name);
    return paths;
}

std::u16string BackUpState(const FeatureModel& present, std::uint32_t drives, const LocalTime& now,
                           ErrorTrail& trail) {
    const std::u16string folder = BackupFolder();
    if (folder.empty() || folder.size() + 1 + kStampLength + 16 >= kStorePathCapacity) {
        AppendErrorRecord(trail, kStageBackupFailed, BackupNoFolder);
        return {};
    }
    FeatureModel state = present;
    KeepCurrentValues(state);
    SettingsRecords records;
    BuildSettingsRecords(state, drives, records);
    const std::vector<unsigned char> image = SettingsFileImage(records, kSettingsRecordCount);

    const std::u16string path = writeUnderFreeName(folder, now, image, sortedNames(folder));
    if (path.empty()) {
        AppendErrorRecord(trail, kStageBackupFailed, BackupNotWritten);
        return {};
    }
    const std::u16string name = path.substr(folder.size() + 1);
    markNewest(folder, name);
    const std::vector<std::u16string> names = sortedNames(folder);
    for (std::size_t k = 0; k + kBackupsKept < names.size(); ++k)
        if (names[k] != name) RemoveDataFile((folder + u"\\" + names[k]).c_str());
    return path;
}
