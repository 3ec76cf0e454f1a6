// The registry seam over the Win32 registry.
#include "engine/registry_key.h"
#include "base/win32/wide.h"

namespace reg {
namespace {

HKEY root(Hive hive) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::int32_t>(hive)));
}

} // namespace

Status Key::open(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    HKEY key = nullptr;
    const LSTATUS rc = RegOpenKeyExW(root(hive), AsWide(path), 0, access, &key);
    if (rc == ERROR_SUCCESS) handle_ = key;
    return rc;
}

Status Key::create(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    HKEY key = nullptr;
    const LSTATUS rc =
        RegCreateKeyExW(root(hive), AsWide(path), 0, nullptr, 0, access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) handle_ = key;
    return rc;
}

Status Key::query(const char16_t* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) const {
    DWORD t = 0;
    DWORD n = size ? *size : 0;
    const LSTATUS rc =
        RegQueryValueExW(static_cast<HKEY>(handle_), AsWide(name), nullptr, type ? &t : nullptr,
                         static_cast<BYTE*>(data), size ? &n : nullptr);
    if (type) *type = t;
    if (size) *size = n;
    return rc;
}

Status Key::set(const char16_t* name, std::uint32_t type, const void* data,
                std::uint32_t size) const {
    return RegSetValueExW(static_cast<HKEY>(handle_), AsWide(name), 0, type,
                          static_cast<const BYTE*>(data), size);
}

Status Key::deleteValue(const char16_t* name) const {
    return RegDeleteValueW(static_cast<HKEY>(handle_), AsWide(name));
}

void Key::close() noexcept {
    if (handle_) RegCloseKey(static_cast<HKEY>(std::exchange(handle_, nullptr)));
}

Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t sam) {
    return RegDeleteKeyExW(root(hive), AsWide(path), sam, 0);
}

} // namespace reg
