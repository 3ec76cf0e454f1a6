#pragma once
// Test helpers for the registry: a key removed with everything below it (no effect when it is
// missing), and a value's type and bytes read past the operations under test.

#include "engine/registry.h"
#include "engine/registry_key.h"

#include <vector>

void DeleteRegTree(Hive hive, const char16_t* path);

// Type 0 and no bytes when there is no such value.
inline std::pair<std::uint32_t, std::vector<unsigned char>>
RawRegValue(Hive hive, const char16_t* path, const char16_t* name) {
    reg::Key key;
    std::uint32_t type = 0, size = 0;
    if (key.open(hive, path, reg::kQueryValue) != reg::kSuccess ||
        key.query(name, &type, nullptr, &size) != reg::kSuccess)
        return {0, {}};
    std::vector<unsigned char> bytes(size);
    if (key.query(name, &type, bytes.data(), &size) != reg::kSuccess) return {0, {}};
    return {type, bytes};
}
