// Files, folders and the environment over the C runtime's wide functions.
#include "services/app_files.h"

#include "base/text.h"
#include "base/win32/handles.h"
#include "base/win32/wide.h"

#include <cwchar>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <utility>

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

namespace {

bool nameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

} // namespace

WriteOutcome CreateDataFile(const char16_t* path, UniqueFile& file) {
    UniqueKernelHandle handle = OwnFile(CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return nameTaken(GetLastError()) ? WriteOutcome::Exists : WriteOutcome::Failed;
    // The C runtime's descriptor and stream take the handle over, one after the other.
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_BINARY);
    if (descriptor < 0) return WriteOutcome::Failed;
    handle.release();
    file = UniqueFile(_wfdopen(descriptor, L"wb"));
    if (!file) {
        _close(descriptor);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

WriteOutcome MoveDataFile(const char16_t* source, const char16_t* target, WriteMode mode) {
    const DWORD replace = mode == WriteMode::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (MoveFileExW(AsWide(source), AsWide(target), replace | MOVEFILE_WRITE_THROUGH))
        return WriteOutcome::Written;
    return nameTaken(GetLastError()) ? WriteOutcome::Exists : WriteOutcome::Failed;
}

bool SetDataFileWritten(const char16_t* path, std::uint64_t written) {
    const UniqueKernelHandle file =
        OwnFile(CreateFileW(AsWide(path), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const FILETIME time{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    return file && SetFileTime(file.get(), nullptr, nullptr, &time);
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
