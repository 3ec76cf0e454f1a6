// vlk on the build machine, over the native build's substitutes (an in-memory registry that
// starts empty): what it can tell there is the catalogue itself. tools/draw-previews.sh takes
// each preview picture's "What it does" line from `show --explain --json`.
#include "app/vlk/companion.h"
#include "base/text.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(fromUtf8(argv[i]));
    LocalTime now{};
    ReadLocalTime(now);
    std::string out;
    const int code = RunCompanion(arguments, now, out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return code;
}
