// LoadErrorTrail's loader on any log content: no fault, a trail of at most 1536 characters from
// version 101000 on with its report mark within it, and saved again it loads back the same.
#include "services/trail_image.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    ErrorTrail trail, again;
    std::memset(&trail, 0xbd, sizeof trail);
    LoadTrailImage(bytes, size, trail);
    const std::size_t length = strnlen(trail.text, sizeof trail.text);
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    LoadTrailImage(image, sizeof image, again);
    if (length > kTrailTextSize || trail.sentLength > length ||
        ReadTrailVersion(trail.text) < kTrailVersion || std::strcmp(again.text, trail.text) != 0 ||
        again.sentLength != length)
        __builtin_trap();
    return 0;
}
