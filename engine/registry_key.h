#pragma once
// The registry as the platform offers it: open keys as owned handles, and their values.
// Status codes are Win32 error codes. Implemented over the Win32 registry on Windows and by
// an in-memory registry in the native build.

#include "engine/registry.h"

#include <cstdint>
#include <utility>

namespace reg {

using Status = std::int32_t;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kMoreData = 234;
inline constexpr Status kKeyDeleted = 1018;

// Access masks; every one carries KEY_WOW64_64KEY (0x0100).
inline constexpr std::uint32_t kWow64_64Key = 0x0100;
inline constexpr std::uint32_t kAllAccess = 0xF013F;
inline constexpr std::uint32_t kRead = 0x20119;
inline constexpr std::uint32_t kQueryValue = 0x0101;
inline constexpr std::uint32_t kSetValue = 0x0102;

// An open key; closed when the object goes.
class Key {
  public:
    Key() = default;
    Key(Key&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Key& operator=(Key&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { close(); }

    // RegOpenKeyExW / RegCreateKeyExW (every missing component is created).
    [[nodiscard]] Status open(Hive hive, const char16_t* path, std::uint32_t access);
    [[nodiscard]] Status create(Hive hive, const char16_t* path, std::uint32_t access);

    // RegQueryValueExW: type, data and size may each be null. With data null and size set,
    // reports the size. Too small a buffer gives kMoreData with the needed size.
    [[nodiscard]] Status query(const char16_t* name, std::uint32_t* type, void* data,
                               std::uint32_t* size) const;
    // RegSetValueExW.
    [[nodiscard]] Status set(const char16_t* name, std::uint32_t type, const void* data,
                             std::uint32_t size) const;
    // RegDeleteValueW.
    [[nodiscard]] Status deleteValue(const char16_t* name) const;

    void close() noexcept;
    bool isOpen() const noexcept { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

// RegDeleteKeyExW with the given view mask.
[[nodiscard]] Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t sam);

} // namespace reg
