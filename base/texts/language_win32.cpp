#include "base/texts/texts.h"

#include "base/win32/wide.h"

#include <windows.h>

#include <vector>

std::vector<std::u16string> PreferredUiLanguages() {
    ULONG count = 0, size = 0;
    if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0)
        return {};
    std::vector<wchar_t> names(size);
    if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) return {};
    std::vector<std::u16string> languages;
    for (const wchar_t* name = names.data(); *name; name += lstrlenW(name) + 1)
        languages.emplace_back(AsU16(name));
    return languages;
}
