#pragma once
// Control of the in-memory registry that stands in for the Windows registry in the native build.

#include "engine/registry.h"

#include <string>
#include <vector>

namespace memreg {

// Forgets every key, value, refusal and logged change.
void Reset();
// Refuses writes (open for writing, create, set, delete) at the key and everything below it,
// as Windows refuses a machine-wide key to a user without elevation.
void Refuse(Hive hive, const char16_t* path);
// Deletes the key and everything below it; no effect when it is missing.
void DeleteTree(Hive hive, const char16_t* path);
// Every successful change since the last Reset or ClearLog, as "verb path,name" with the verb
// "set", "delete-value" or "delete-key" and the path as the caller spelled it.
const std::vector<std::string>& Log();
void ClearLog();

} // namespace memreg
