#include "services/trail_image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The keystream is the same for every image: a table made by the compiler.
constexpr std::uint32_t kSieveSize = 1u << 15; // far beyond the largest prime the key uses

struct Keystream {
    unsigned char bytes[kTrailTextSize] = {};
    // What an image holds beyond its text's terminator: each key byte XOR its position.
    unsigned char beyondText[kTrailTextSize] = {};
};

// The key searches odd numbers from 3 up.
static_assert(kKeyFirstStart % 2 == 1 && kKeyFirstStart >= 3);
static_assert(kKeySecondStart % 2 == 1 && kKeySecondStart >= 3 && kKeyStep % 2 == 0);

constexpr Keystream MakeKeystream() {
    std::array<bool, kSieveSize> composite{};
    // Odd numbers only: the key takes no even one.
    for (std::uint32_t d = 3; d * d < kSieveSize; d += 2)
        if (!composite[d])
            for (std::uint32_t m = d * d; m < kSieveSize; m += 2 * d)
                composite[m] = true;
    Keystream key;
    // The smallest prime not below the odd number from (a search past the sieve does not compile).
    const auto primeFrom = [&](std::uint32_t from) {
        std::uint32_t n = from;
        while (composite[n])
            n += 2;
        return n;
    };
    std::uint32_t p = kKeyFirstStart;
    std::uint32_t q = kKeySecondStart;
    for (std::size_t i = 0; i < kTrailTextSize; ++i) {
        p = primeFrom(p + 2);
        q = primeFrom(q + kKeyStep);
        // Both primes are past i: p grows by two at least from above kKeyFirstStart.
        const std::uint64_t r = std::uint64_t{p - i} * (q - i) % 95;
        key.bytes[i] = static_cast<unsigned char>(r + 32);
        key.beyondText[i] = static_cast<unsigned char>(key.bytes[i] ^ (i & 0xFF));
    }
    return key;
}

constexpr Keystream kKey = MakeKeystream();

} // namespace

void WriteTrailImage(const ErrorTrail& trail, unsigned char (&image)[kTrailImageSize]) {
    const std::size_t length = strnlen(trail.text, kTrailTextSize);
    std::memcpy(image, kKey.beyondText, kTrailTextSize);
    for (std::size_t i = 0; i < length; ++i)
        image[i] = static_cast<unsigned char>(trail.text[i]) ^ kKey.bytes[i];
    if (length < kTrailTextSize) image[length] = kKey.bytes[length];
    std::uint64_t field = length + kTrailLengthMask;
    for (std::size_t i = 0; i < 8; ++i, field >>= 8)
        image[kTrailTextSize + i] = static_cast<unsigned char>(field & 0xFF);
}

void ReadTrailImage(const unsigned char (&image)[kTrailImageSize], ErrorTrail& trail) {
    const unsigned char* key = kKey.bytes;
    std::memset(trail.text, 0, sizeof trail.text);
    std::size_t length = 0;
    for (; length < kTrailTextSize; ++length) {
        const char c = static_cast<char>(image[length] ^ key[length]);
        if (c == 0) break;
        trail.text[length] = c;
    }
    std::uint64_t field = 0; // little-endian
    for (std::size_t i = 0; i < 8; ++i)
        field |= std::uint64_t{image[kTrailTextSize + i]} << 8 * i;
    const std::uint64_t sent = field - kTrailLengthMask;
    trail.sentLength = std::min(sent, std::uint64_t{length});
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
    for (std::size_t i = 0;; ++i) {
        const char c = text[i];
        if (c == '#') return i == 0 ? 0 : version;
        if (c < '0' || c > '9' || i == 11) return 0;
        version = version * 10 + static_cast<std::uint64_t>(c - '0');
    }
}

void StartFreshTrail(ErrorTrail& trail) {
    std::memset(trail.text, 0, sizeof trail.text);
    std::memcpy(trail.text, "101000#", 7);
    trail.sentLength = 7;
}
