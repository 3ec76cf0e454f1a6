#pragma once
// The registry operations of the engine. Each opens a key in the 64-bit view, does one thing
// and closes the key again; results are plain true/false or a caller-supplied default.

#include <cstddef>
#include <cstdint>

// The predefined root keys, with their Win32 handle values.
enum class Hive : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegQword = 11;

// What a change of the registry did: true when it succeeded; else the Win32 error code of the
// step that failed (5 access denied, 2 not found), kept until it is told.
struct RegStatus {
    std::int32_t code = 0;
    explicit operator bool() const { return code == 0; }
};
inline constexpr std::int32_t kRegNotFound = 2;
inline constexpr std::int32_t kRegAccessDenied = 5;

// Succeeds when the key was created or already existed. Creates every missing component.
RegStatus CreateRegKey(Hive hive, const char16_t* path);
// Succeeds when the key was deleted; a key that still has subkeys is kept.
RegStatus DeleteRegKey(Hive hive, const char16_t* path);
// Fails when the key does not open, else tells whether the value was deleted.
RegStatus DeleteRegValue(Hive hive, const char16_t* path, const char16_t* name);
bool RegKeyExists(Hive hive, const char16_t* path);
bool RegValueExists(Hive hive, const char16_t* path, const char16_t* name);

// Reads the value's bytes into buffer (size bytes) over defaultBytes (also size bytes), so a
// shorter value leaves the default in the bytes it does not reach. On any failure the buffer
// holds the default and the result is false.
bool ReadRegData(Hive hive, const char16_t* path, const char16_t* name, void* buffer,
                 std::uint32_t size, const void* defaultBytes);
// Reads a text into buffer (capacity units, always terminated); the default text when the
// value is missing, empty or does not fit. Returns buffer.
char16_t* ReadRegString(Hive hive, const char16_t* path, const char16_t* name, char16_t* buffer,
                        std::size_t capacity, const char16_t* defaultText);
// The value's bytes as a little-endian number (up to 4 bytes), or the default.
std::uint32_t ReadRegDword(Hive hive, const char16_t* path, const char16_t* name,
                           std::uint32_t defaultValue);

// Writes create missing keys. Fail when the key cannot be created, else tell whether the value
// was set.
RegStatus WriteRegBinary(Hive hive, const char16_t* path, const char16_t* name, const void* bytes,
                         std::uint32_t length);
RegStatus WriteRegString(Hive hive, const char16_t* path, const char16_t* name,
                         const char16_t* text);
RegStatus WriteRegDword(Hive hive, const char16_t* path, const char16_t* name, std::uint32_t value);

// Where Windows tells its build and edition.
inline constexpr const char16_t* kCurrentVersionKey =
    u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
// The Windows build number (HKLM CurrentVersion, "CurrentBuildNumber"); a missing or unreadable
// number counts as build 0.
std::uint32_t ReadWindowsBuild();
// Whether that build number is at least the threshold.
bool IsBuildAtLeast(std::uint32_t threshold);
