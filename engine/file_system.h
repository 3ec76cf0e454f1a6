#pragma once
// The file operations of the file-system tweaks, on paths of at most 259 units.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kPathCapacity = 260;

// The user's desktop folder, copied into buffer (cut to capacity); false when unknown.
bool DesktopFolder(char16_t* buffer, std::size_t capacity);
// The folder of the running program, without a trailing backslash; false when unknown.
bool ProgramFolder(char16_t* buffer, std::size_t capacity);
// As GetWindowsDirectoryW / GetSystemWow64DirectoryW: the length written, 0 on failure
// (the 32-bit subsystem folder exists only on 64-bit Windows).
std::uint32_t WindowsFolder(char16_t* buffer, std::uint32_t capacity);
std::uint32_t SystemWow64Folder(char16_t* buffer, std::uint32_t capacity);
// Creates one folder; false when it cannot (for example when it exists).
bool MakeDirectory(const char16_t* path);
// Copies a file, refusing to replace an existing target.
bool CopyFileIfAbsent(const char16_t* source, const char16_t* target);
bool RemoveFile(const char16_t* path);
