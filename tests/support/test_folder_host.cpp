#include "tests/support/test_folder.h"

#include "engine/text.h"
#include "tests/substitutes/app_files_host.h"

#include <cstdlib>
#include <filesystem>

TestFolder::TestFolder() {
    char name[] = "/tmp/velkaro-test-XXXXXX";
    if (mkdtemp(name)) path_ = fromUtf8(name);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(toUtf8(path_), ignored);
}

void SetTestVariable(const char16_t* name, const char16_t* value) {
    hostfiles::SetVariable(name, value);
}
