// The data store's line rules on any file content: no fault, a text found lies within the file,
// and a value written is the value read back.
#include "services/store_text.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    static const char* const keys[] = {"a", "LastDataFile", "CheckForUpdates", "k=v", "\r"};
    const std::string_view key = keys[bytes[0] % 5]; // the first byte picks the key
    const std::string_view data(reinterpret_cast<const char*>(bytes + 1), size - 1);
    const auto text = ParseStoreText(data, key);
    if ((text && (text->data() < data.data() || text->end() > data.end())) ||
        (ParseStoreNumber(data, key) && FindStoreValue(data, key) == data.npos) ||
        ParseStoreNumber(WithStoreValue(data, key, "-123"), key) != -123 ||
        ParseStoreText(WithStoreValue(data, key, "\"C:\\x\""), key) != "C:\\x")
        __builtin_trap();
    return 0;
}
