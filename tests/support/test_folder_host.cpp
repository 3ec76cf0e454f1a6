#include "tests/support/test_folder.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

// The folder's path is kept and removed without the program's own text conversion: the
// mutation check plants faults there, and a wrong path here would remove something else.
constexpr char kPrefix[] = "/tmp/velkaro-test-";

TestFolder::TestFolder() {
    char name[] = "/tmp/velkaro-test-XXXXXX";
    if (mkdtemp(name)) path_.assign(name, name + std::strlen(name));
}

TestFolder::~TestFolder() {
    const std::string path(path_.begin(), path_.end());
    if (path.size() <= sizeof kPrefix - 1 || path.rfind(kPrefix, 0) != 0 ||
        path.find("..") != std::string::npos)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}
