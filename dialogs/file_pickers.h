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

// What a picker gives: the chosen file's path, empty when the user cancels or picks no file of
// the file system; failed when the picker could not be shown at all.
struct PickedFile {
    std::u16string path;
    bool failed = false;
};

#ifdef _WIN32
#include <windows.h>
PickedFile ShowOpenFilePicker(HWND owner, const std::u16string& filter);
PickedFile ShowSaveFilePicker(HWND owner, const std::u16string& filter);
#endif
