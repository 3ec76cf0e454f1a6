// The data store's line rules on any file content: no fault, and a value written is the
// value read back.
#include "services/store_text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the key, the rest is the file.
    static const char* const keys[] = {"a", "LastDataFile", "CheckForUpdates", "k=v", "\r"};
    const std::string_view key = keys[bytes[0] % 5];
    const std::string_view data(reinterpret_cast<const char*>(bytes + 1), size - 1);

    const auto number = ParseStoreNumber(data, key);
    const auto text = ParseStoreText(data, key);
    if (text &&
        (text->data() < data.data() || text->data() + text->size() > data.data() + data.size()))
        __builtin_trap();
    if (number && FindStoreValue(data, key) == std::string_view::npos) __builtin_trap();

    const std::string withNumber = WithStoreValue(data, key, "-123");
    if (ParseStoreNumber(withNumber, key) != -123) __builtin_trap();
    const std::string withText = WithStoreValue(data, key, "\"C:\\x\"");
    const auto readBack = ParseStoreText(withText, key);
    if (!readBack || *readBack != "C:\\x") __builtin_trap();
    return 0;
}
