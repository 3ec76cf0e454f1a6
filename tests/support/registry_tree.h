#pragma once
// A registry key removed with all below it (if there), and a value's type (0: none) and bytes.

#include "engine/registry.h"
#include "engine/registry_key.h"

#include <vector>

void DeleteRegTree(Hive hive, const char16_t* path);

inline std::pair<std::uint32_t, std::vector<unsigned char>>
RawRegValue(Hive hive, const char16_t* path, const char16_t* name) {
    reg::Key key;
    std::uint32_t type = 0, size = 0;
    if (key.open(hive, path, reg::kQueryValue) || key.query(name, &type, nullptr, &size))
        return {0, {}};
    std::vector<unsigned char> bytes(size);
    if (key.query(name, &type, bytes.data(), &size)) return {0, {}};
    return {type, bytes};
}
