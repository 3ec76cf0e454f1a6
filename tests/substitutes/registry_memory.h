#pragma once
// Control of the in-memory registry that stands in for the Windows registry in the native build.

#include "engine/registry.h"

#include <string>
#include <vector>

namespace memreg {

// Forgets every key, value, refusal and logged change.
void Reset();
// Refuses changes at the key and below it, as Windows refuses a machine-wide key to a user.
void Refuse(Hive hive, const char16_t* path);
// Every change since the last Reset or ClearLog: "set", "delete-value" or "delete-key", then
// "path,name" with the path as the caller spelled it.
const std::vector<std::string>& Log();
void ClearLog();

} // namespace memreg
