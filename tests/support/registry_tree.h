#pragma once
// Test helper: removes a key with everything below it (no effect when it is missing).

#include "engine/registry.h"

void DeleteRegTree(Hive hive, const char16_t* path);
