// Writing a data file whole or not at all, over the platform's file primitives.
#include "services/app_files.h"

#include <string>

WriteOutcome WriteDataFile(const char16_t* path, const void* data, std::size_t size,
                           WriteMode mode) {
    const std::u16string temporary = std::u16string(path) + u".tmp";
    UniqueFile file;
    if (mode == WriteMode::New) {
        if (const WriteOutcome created = CreateDataFile(temporary.c_str(), file);
            created != WriteOutcome::Written)
            return created;
    } else {
        file = OpenDataFile(temporary.c_str(), u"wb");
        if (!file) return WriteOutcome::Failed;
    }
    const bool written =
        std::fwrite(data, 1, size, file.get()) == size && std::fflush(file.get()) == 0;
    const WriteOutcome outcome = file.close() && written
                                     ? MoveDataFile(temporary.c_str(), path, mode)
                                     : WriteOutcome::Failed;
    if (outcome != WriteOutcome::Written) RemoveDataFile(temporary.c_str());
    return outcome;
}
