// Files, folders and the environment over the C runtime's wide functions.
#include "services/app_files.h"

#include "engine/text.h"
#include "engine/win32/wide.h"

#include <cwchar>
#include <utility>
#include <direct.h>

bool ReadEnvironmentText(const char16_t* name, char16_t* buffer, std::size_t capacity) {
    if (capacity > 0) buffer[0] = 0;
    const wchar_t* value = _wgetenv(AsWide(name));
    if (!value || value[0] == 0) return false;
    if (StrCopyBounded(buffer, AsU16(value), capacity) >= capacity) {
        buffer[0] = 0;
        return false;
    }
    return true;
}

void MakeDataFolder(const char16_t* path) {
    _wmkdir(AsWide(path));
}

UniqueFile OpenDataFile(const char16_t* path, const char16_t* mode) {
    return UniqueFile(_wfopen(AsWide(path), AsWide(mode)));
}

bool MoveDataFileOver(const char16_t* source, const char16_t* target) {
    return MoveFileExW(AsWide(source), AsWide(target),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveDataFile(const char16_t* path) {
    return DeleteFileW(AsWide(path)) != 0;
}

namespace {

// A find handle of FindFirstFileW, closed when the object goes.
class UniqueFind {
  public:
    explicit UniqueFind(HANDLE find) noexcept : find_(find) {}
    UniqueFind(const UniqueFind&) = delete;
    UniqueFind& operator=(const UniqueFind&) = delete;
    ~UniqueFind() {
        if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
    }
    HANDLE get() const noexcept { return find_; }

  private:
    HANDLE find_;
};

} // namespace

std::vector<DataFileEntry> ListDataFolder(const char16_t* folder) {
    std::vector<DataFileEntry> names;
    const std::u16string pattern = std::u16string(folder) + u"\\*";
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW(AsWide(pattern.c_str()), &found));
    if (find.get() == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back({AsU16(found.cFileName),
                             (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) |
                                 found.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find.get(), &found));
    return names;
}
