#pragma once
// Control of the in-memory registry that stands in for the Windows registry in the native
// build.

#include "engine/registry.h"

#include <string>
#include <vector>

namespace memreg {

// Forgets every key, value, refusal and logged change.
void Reset();
// Refuses write access (open for writing, create, set, delete) to the key at path and to
// everything below it, as Windows refuses a machine-wide key to a user without elevation.
void Refuse(Hive hive, const char16_t* path);
// Deletes the key and everything below it; no effect when it is missing.
void DeleteTree(Hive hive, const char16_t* path);

struct Operation {
    std::string verb; // "create", "delete-key", "set", "delete-value"
    Hive hive;
    std::u16string path; // as the caller spelled it
    std::u16string name;
};
// Every successful change, in order, since the last Reset or ClearLog.
const std::vector<Operation>& Log();
void ClearLog();

} // namespace memreg
