// The native build's files and folders are the host's, under folders the tests choose; the
// environment is a table of the tests'.
#include "services/app_files.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/support/test_folder.h"

#include "engine/text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

namespace {

std::map<std::u16string, std::u16string> variables;
bool replaceFails = false;

} // namespace

std::string hostfiles::HostPath(const char16_t* path) {
    std::string out = toUtf8(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}
using hostfiles::HostPath;

// clang-format off
void SetTestVariable(const char16_t* name, const char16_t* value) { value ? (void)(variables[name] = value) : (void)variables.erase(name); }
void hostfiles::Reset() { variables.clear(), replaceFails = false; }
void hostfiles::FailReplace(bool fail) { replaceFails = fail; }
bool ReadEnvironmentText(const char16_t* name, char16_t* buffer, std::size_t capacity) {
    const std::u16string value = variables.contains(name) ? variables[name] : u"";
    const bool fits = !value.empty() && StrCopyBounded(buffer, value.c_str(), capacity) < capacity;
    if (!fits && capacity > 0) buffer[0] = 0;
    return fits;
}
void MakeDataFolder(const char16_t* path) { ::mkdir(HostPath(path).c_str(), 0777); }
UniqueFile OpenDataFile(const char16_t* path, const char16_t* mode) { return UniqueFile(std::fopen(HostPath(path).c_str(), HostPath(mode).c_str())); }
bool MoveDataFileOver(const char16_t* source, const char16_t* target) {
    return !replaceFails && std::rename(HostPath(source).c_str(), HostPath(target).c_str()) == 0;
}
bool RemoveDataFile(const char16_t* path) { return std::remove(HostPath(path).c_str()) == 0; }
// clang-format on

// clang-format off
std::vector<DataFileEntry> ListDataFolder(const char16_t* folder) {
    std::vector<DataFileEntry> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(HostPath(folder), error))
        if (entry.is_regular_file(error))
            names.push_back({fromUtf8(entry.path().filename().string()), static_cast<std::uint64_t>(entry.last_write_time(error).time_since_epoch().count())});
    return names;
}
// clang-format on
