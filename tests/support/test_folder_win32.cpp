#include "tests/support/test_folder.h"

#include "engine/win32/wide.h"

#include <cstdlib>
#include <filesystem>
#include <string>

TestFolder::TestFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return;
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate =
            std::wstring(temp) + L"velkaro-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = AsU16(candidate.c_str());
            return;
        }
    }
}

TestFolder::~TestFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(AsWide(path_.c_str())), ignored);
    }
}

void SetTestVariable(const char16_t* name, const char16_t* value) {
    _wputenv_s(AsWide(name), value ? AsWide(value) : L"");
}
