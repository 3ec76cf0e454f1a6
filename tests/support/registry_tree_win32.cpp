#include "tests/support/registry_tree.h"

#include "base/win32/wide.h"

void DeleteRegTree(Hive hive, const char16_t* path) {
    RegDeleteTreeW(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::int32_t>(hive))),
                   AsWide(path));
}
