// The native build's files and folders are the host's, under folders the tests choose; the
// environment is a table of the tests'.
#include "services/app_files.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/support/test_folder.h"

#include "base/text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
WriteOutcome CreateDataFile(const char16_t* path, UniqueFile& file) {
    const int descriptor = ::open(HostPath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0) return errno == EEXIST ? WriteOutcome::Exists : WriteOutcome::Failed;
    file = UniqueFile(::fdopen(descriptor, "wb"));
    return file ? WriteOutcome::Written : (::close(descriptor), WriteOutcome::Failed);
}
// A new name is taken by a hard link, which fails when the name exists, as Windows' move does.
WriteOutcome MoveDataFile(const char16_t* source, const char16_t* target, WriteMode mode) {
    const std::string from = HostPath(source), to = HostPath(target);
    if (replaceFails) return WriteOutcome::Failed;
    if (mode == WriteMode::Replace) return std::rename(from.c_str(), to.c_str()) == 0 ? WriteOutcome::Written : WriteOutcome::Failed;
    if (::link(from.c_str(), to.c_str()) != 0) return errno == EEXIST ? WriteOutcome::Exists : WriteOutcome::Failed;
    return ::unlink(from.c_str()), WriteOutcome::Written;
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
bool SetDataFileWritten(const char16_t* path, std::uint64_t written) {
    using Time = std::filesystem::file_time_type;
    std::error_code error;
    std::filesystem::last_write_time(HostPath(path), Time(Time::duration(static_cast<Time::rep>(written))), error);
    return !error;
}
// clang-format on
