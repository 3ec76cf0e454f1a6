#include "settings/backups.h"

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
    bool operator<(const BackupKey& other) const {
        if (written != other.written) return written < other.written;
        return stamp != other.stamp ? stamp < other.stamp : copy < other.copy;
    }
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

std::u16string ascii(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
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

// A name for a backup stamped `now` that no file in the folder has yet.
std::u16string freshName(const LocalTime& now, const std::vector<std::u16string>& taken) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d.%02d.%02d", now.year % 10000,
                  now.month % 100, now.day % 100, now.hour % 100, now.minute % 100,
                  now.second % 100);
    for (unsigned copy = 1;; ++copy) {
        std::u16string name = ascii(stamp);
        if (copy > 1) name += u" (" + ascii(std::to_string(copy).c_str()) + u")";
        name += kExtension;
        if (std::find(taken.begin(), taken.end(), name) == taken.end()) return name;
    }
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

std::u16string BackUpBeforeApply(const FeatureModel& model, std::uint32_t drives,
                                 const LocalTime& now, ErrorTrail& trail) {
    if (ChangedTweaks(model, nullptr).empty()) return {};
    const std::u16string folder = BackupFolder();
    if (folder.empty() || folder.size() + 1 + kStampLength + 16 >= kStorePathCapacity) {
        AppendErrorRecord(trail, kBackupFailedStage, BackupNoFolder);
        return {};
    }
    FeatureModel state = model;
    KeepCurrentValues(state);
    SettingsRecords records;
    BuildSettingsRecords(state, drives, records);

    std::vector<std::u16string> names = sortedNames(folder);
    const std::u16string path = folder + u"\\" + freshName(now, names);
    if (WriteSettingsFile(records, kSettingsRecordCount, path.c_str()) != SettingsOk) {
        AppendErrorRecord(trail, kBackupFailedStage, BackupNotWritten);
        return {};
    }
    names = sortedNames(folder);
    for (std::size_t k = 0; k + kBackupsKept < names.size(); ++k)
        RemoveDataFile((folder + u"\\" + names[k]).c_str());
    return path;
}
