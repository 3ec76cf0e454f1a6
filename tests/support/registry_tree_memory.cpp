#include "tests/support/registry_tree.h"

#include "tests/substitutes/registry_memory.h"

void DeleteRegTree(Hive hive, const char16_t* path) {
    memreg::DeleteTree(hive, path);
}
