#pragma once
// The system's file pickers for settings data files.

#include <string>
#include <vector>

struct FileType {
    std::u16string name;    // shown in the picker
    std::u16string pattern; // such as "*.vlkd"
};

// "Name (*.ext)|Other (*.x)" -> one type per entry; the pattern runs from one character
// before the entry's last '(', '*' or '.' up to, not including, its last character.
std::vector<FileType> SplitFileFilter(const std::u16string& filter);

#ifdef _WIN32
#include <windows.h>
// The chosen file's path, or empty when the user cancels or anything fails.
std::u16string ShowOpenFilePicker(HWND owner, const std::u16string& filter);
std::u16string ShowSaveFilePicker(HWND owner, const std::u16string& filter);
#endif
