#include "engine/file_system.h"

#include "base/text.h"
#include "base/win32/wide.h"

#include <shlobj.h>
#include <wchar.h>

bool DesktopFolder(char16_t* buffer, std::size_t capacity) {
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path);
    const bool found = SUCCEEDED(hr) && path != nullptr;
    if (found) StrCopyBounded(buffer, AsU16(path), capacity);
    CoTaskMemFree(path);
    return found;
}

bool ProgramFolder(char16_t* buffer, std::size_t capacity) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash == nullptr) return false;
    *slash = L'\0';
    return StrCopyBounded(buffer, AsU16(path), capacity) < capacity;
}

std::uint32_t WindowsFolder(char16_t* buffer, std::uint32_t capacity) {
    return GetWindowsDirectoryW(AsWide(buffer), capacity);
}

std::uint32_t SystemWow64Folder(char16_t* buffer, std::uint32_t capacity) {
    return GetSystemWow64DirectoryW(AsWide(buffer), capacity);
}

bool MakeDirectory(const char16_t* path) {
    return _wmkdir(AsWide(path)) == 0;
}

bool CopyFileIfAbsent(const char16_t* source, const char16_t* target) {
    return CopyFileW(AsWide(source), AsWide(target), TRUE) != FALSE;
}

bool RemoveFile(const char16_t* path) {
    return DeleteFileW(AsWide(path)) != FALSE;
}
