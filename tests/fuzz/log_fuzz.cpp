// The loader LoadErrorTrail runs on the bytes it read from the diagnostic log file, on any
// content: no fault, a terminated trail of at most 1536 characters that begins with a version
// of at least 101000, and a report mark within it.
#include "services/trail_image.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    ErrorTrail trail;
    std::memset(&trail, 0xbd, sizeof trail);
    LoadTrailImage(bytes, size, trail);
    const std::size_t length = strnlen(trail.text, sizeof trail.text);
    if (length > kTrailTextSize || trail.sentLength > length ||
        ReadTrailVersion(trail.text) < kTrailVersion)
        __builtin_trap();

    // What is loaded saves to an image that loads back the same.
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    ErrorTrail again;
    LoadTrailImage(image, sizeof image, again);
    if (std::strcmp(again.text, trail.text) != 0 || again.sentLength != length) __builtin_trap();
    return 0;
}
