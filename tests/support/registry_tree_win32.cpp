#include "tests/support/registry_tree.h"

#include "engine/registry_key.h"
#include "engine/win32/wide.h"

void DeleteRegTree(Hive hive, const char16_t* path) {
    HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::int32_t>(hive)));
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, AsWide(path), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExW(root, AsWide(path), KEY_WOW64_64KEY, 0);
}
