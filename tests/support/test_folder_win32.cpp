#include "tests/support/test_folder.h"

#include "base/win32/wide.h"

#include <filesystem>
#include <string>

TestFolder::TestFolder() {
    wchar_t temp[MAX_PATH + 1], name[MAX_PATH + 1];
    // A unique name taken as a file, then made a folder.
    if (GetTempPathW(MAX_PATH + 1, temp) == 0 || !GetTempFileNameW(temp, L"vlk", 0, name)) return;
    if (DeleteFileW(name) && CreateDirectoryW(name, nullptr)) path_ = AsU16(name);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(AsWide(path_.c_str()), ignored);
}

void SetTestVariable(const char16_t* name, const char16_t* value) {
    _wputenv_s(AsWide(name), value ? AsWide(value) : L"");
}
