#pragma once
// The diagnostic log's 1544-byte image of the error trail: the text scrambled with a
// keystream of printable characters, then the text's length plus a mask as a 64-bit
// little-endian number.

#include "base/error_trail.h"

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kTrailTextSize = 1536;
inline constexpr std::size_t kTrailImageSize = kTrailTextSize + 8;
inline constexpr std::uint64_t kTrailLengthMask = 0x5A17C3E9B2D4F068ull;
inline constexpr std::uint32_t kTrailVersion = 101000;

// Keystream of printable characters: p runs through the odd primes from above kKeyFirstStart,
// q through odd primes at least kKeyStep apart from above kKeySecondStart. Byte i is
// ((p - i) * (q - i)) mod 95 + 32.
inline constexpr std::uint32_t kKeyFirstStart = 1009;
inline constexpr std::uint32_t kKeySecondStart = 7919;
inline constexpr std::uint32_t kKeyStep = 6;

// The trail's text scrambled (up to and including its terminating zero; beyond it the key
// bytes XOR their position) and its length plus the mask.
void WriteTrailImage(const ErrorTrail& trail, unsigned char (&image)[kTrailImageSize]);
// The text unscrambled up to the first zero (1536 characters at most); sentLength the field
// minus the mask, never past the end of the text.
void ReadTrailImage(const unsigned char (&image)[kTrailImageSize], ErrorTrail& trail);

// The trail a run starts with, given the bytes read from the diagnostic log file (size of
// them): the saved trail, everything in it counted as reported; a fresh trail when the file is
// short (or missing: size 0) or its version is below 101000.
void LoadTrailImage(const unsigned char* bytes, std::size_t size, ErrorTrail& trail);

// The number before the first "#" (1 to 11 decimal digits); 0 when the text does not begin so.
std::uint64_t ReadTrailVersion(const char* text);
// "101000#", all of it counted as reported.
void StartFreshTrail(ErrorTrail& trail);
