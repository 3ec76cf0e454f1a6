#include "services/trail_image.h"

#include <cstring>

namespace {

bool isOddPrime(std::uint32_t n) {
    if (n < 3 || n % 2 == 0) return false;
    for (std::uint32_t d = 3; d <= n / d; d += 2) {
        if (n % d == 0) return false;
    }
    return true;
}

// The smallest odd prime not below from; the bound when the search reaches it.
std::uint32_t primeFrom(std::uint32_t from) {
    for (std::uint32_t n = from; n < kKeyPrimeBound; ++n) {
        if (isOddPrime(n)) return n;
    }
    return kKeyPrimeBound;
}

} // namespace

void MakeKeystream(unsigned char* buffer, std::size_t length) {
    std::uint32_t p = kKeyFirstStart;
    std::uint32_t q = kKeySecondStart;
    for (std::size_t i = 0; i < length; ++i) {
        p = primeFrom(p + 2);
        q = primeFrom(q + kKeyStep);
        const std::int64_t a = static_cast<std::int64_t>(p) - static_cast<std::int64_t>(i);
        const std::int64_t b = static_cast<std::int64_t>(q) - static_cast<std::int64_t>(i);
        const std::int64_t r = (a * b) % 95;
        buffer[i] = static_cast<unsigned char>((r < 0 ? r + 95 : r) + 32);
    }
}

void WriteTrailImage(const ErrorTrail& trail, unsigned char (&image)[kTrailImageSize]) {
    unsigned char key[kTrailTextSize];
    MakeKeystream(key, sizeof key);
    const std::size_t length = strnlen(trail.text, kTrailTextSize);
    for (std::size_t i = 0; i < kTrailTextSize; ++i) {
        image[i] = i < length    ? static_cast<unsigned char>(trail.text[i]) ^ key[i]
                   : i == length ? key[i]
                                 : static_cast<unsigned char>(key[i] ^ (i & 0xFF));
    }
    std::uint64_t field = length + kTrailLengthMask;
    for (std::size_t i = 0; i < 8; ++i, field >>= 8)
        image[kTrailTextSize + i] = static_cast<unsigned char>(field & 0xFF);
}

void ReadTrailImage(const unsigned char (&image)[kTrailImageSize], ErrorTrail& trail) {
    unsigned char key[kTrailTextSize];
    MakeKeystream(key, sizeof key);
    std::memset(trail.text, 0, sizeof trail.text);
    std::size_t length = 0;
    for (; length < kTrailTextSize; ++length) {
        const char c = static_cast<char>(image[length] ^ key[length]);
        if (c == 0) break;
        trail.text[length] = c;
    }
    std::uint64_t field = 0;
    for (std::size_t i = 8; i-- > 0;)
        field = (field << 8) | image[kTrailTextSize + i];
    const std::uint64_t sent = field - kTrailLengthMask;
    trail.sentLength = sent < length ? sent : length;
}

void LoadTrailImage(const unsigned char* bytes, std::size_t size, ErrorTrail& trail) {
    if (size == kTrailImageSize) {
        unsigned char image[kTrailImageSize];
        std::memcpy(image, bytes, sizeof image);
        ReadTrailImage(image, trail);
        if (ReadTrailVersion(trail.text) >= kTrailVersion) return;
    }
    StartFreshTrail(trail);
}

std::uint64_t ReadTrailVersion(const char* text) {
    std::uint64_t version = 0;
    for (std::size_t i = 0; i < 12; ++i) {
        const char c = text[i];
        if (c == '#') return i == 0 ? 0 : version;
        if (c < '0' || c > '9' || i == 11) return 0;
        version = version * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return 0;
}

void StartFreshTrail(ErrorTrail& trail) {
    std::memset(trail.text, 0, sizeof trail.text);
    std::memcpy(trail.text, "101000#", 7);
    trail.sentLength = 7;
}
