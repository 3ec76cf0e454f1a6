#include "engine/registry.h"

#include "engine/registry_key.h"
#include "base/text.h"

#include <cstring>
#include <iterator>

RegStatus CreateRegKey(Hive hive, const char16_t* path) {
    reg::Key key;
    return {key.create(hive, path, reg::kAllAccess)};
}

RegStatus DeleteRegKey(Hive hive, const char16_t* path) {
    return {reg::DeleteKey(hive, path, reg::kWow64_64Key)};
}

RegStatus DeleteRegValue(Hive hive, const char16_t* path, const char16_t* name) {
    reg::Key key;
    if (const reg::Status opened = key.open(hive, path, reg::kSetValue); opened != reg::kSuccess)
        return {opened};
    return {key.deleteValue(name)};
}

bool RegKeyExists(Hive hive, const char16_t* path) {
    reg::Key key;
    return key.open(hive, path, reg::kRead) == reg::kSuccess;
}

bool RegValueExists(Hive hive, const char16_t* path, const char16_t* name) {
    reg::Key key;
    if (key.open(hive, path, reg::kQueryValue) != reg::kSuccess) return false;
    return key.query(name, nullptr, nullptr, nullptr) == reg::kSuccess;
}

bool ReadRegData(Hive hive, const char16_t* path, const char16_t* name, void* buffer,
                 std::uint32_t size, const void* defaultBytes) {
    // A value shorter than the buffer fills only its first bytes: the rest keep the default.
    std::memcpy(buffer, defaultBytes, size);
    reg::Key key;
    if (key.open(hive, path, reg::kQueryValue) == reg::kSuccess) {
        std::uint32_t count = size;
        if (key.query(name, nullptr, buffer, &count) == reg::kSuccess) return true;
    }
    std::memcpy(buffer, defaultBytes, size);
    return false;
}

char16_t* ReadRegString(Hive hive, const char16_t* path, const char16_t* name, char16_t* buffer,
                        std::size_t capacity, const char16_t* defaultText) {
    reg::Key key;
    if (key.open(hive, path, reg::kQueryValue) == reg::kSuccess) {
        std::uint32_t bytes = static_cast<std::uint32_t>(capacity * 2);
        if (key.query(name, nullptr, buffer, &bytes) == reg::kSuccess && bytes > 0) {
            // The last delivered unit is the value's own terminator; a single byte leaves
            // no whole unit, and the text is empty.
            const std::size_t units = bytes / 2;
            buffer[units == 0 ? 0 : units - 1] = 0;
            return buffer;
        }
    }
    StrCopyBounded(buffer, defaultText, capacity);
    return buffer;
}

std::uint32_t ReadRegDword(Hive hive, const char16_t* path, const char16_t* name,
                           std::uint32_t defaultValue) {
    reg::Key key;
    if (key.open(hive, path, reg::kQueryValue) != reg::kSuccess) return defaultValue;
    unsigned char bytes[4] = {0, 0, 0, 0};
    std::uint32_t count = 4;
    if (key.query(name, nullptr, bytes, &count) != reg::kSuccess) return defaultValue;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

namespace {

RegStatus writeValue(Hive hive, const char16_t* path, const char16_t* name, std::uint32_t type,
                     const void* data, std::uint32_t size) {
    reg::Key key;
    if (const reg::Status created = key.create(hive, path, reg::kAllAccess);
        created != reg::kSuccess)
        return {created};
    return {key.set(name, type, data, size)};
}

} // namespace

RegStatus WriteRegBinary(Hive hive, const char16_t* path, const char16_t* name, const void* bytes,
                         std::uint32_t length) {
    return writeValue(hive, path, name, kRegBinary, bytes, length);
}

RegStatus WriteRegString(Hive hive, const char16_t* path, const char16_t* name,
                         const char16_t* text) {
    const auto bytes = static_cast<std::uint32_t>((TextLength(text) + 1) * 2);
    return writeValue(hive, path, name, kRegSz, text, bytes);
}

RegStatus WriteRegDword(Hive hive, const char16_t* path, const char16_t* name,
                        std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return writeValue(hive, path, name, kRegDword, bytes, 4);
}

std::uint32_t ReadWindowsBuild() {
    char16_t build[11];
    ReadRegString(Hive::LocalMachine, kCurrentVersionKey, u"CurrentBuildNumber", build,
                  std::size(build), u"");
    // As wcstoul with base 10: leading white space, an optional sign, then digits up to the
    // first non-digit; an overflow saturates and a minus sign negates.
    const char16_t* p = build;
    while (*p == u' ' || (*p >= u'\t' && *p <= u'\r'))
        ++p;
    const bool negative = *p == u'-';
    if (*p == u'+' || *p == u'-') ++p;
    std::uint64_t value = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p)
        value = value > 0xFFFFFFFFu ? value : value * 10 + static_cast<std::uint64_t>(*p - u'0');
    std::uint32_t number = value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
    if (negative && value <= 0xFFFFFFFFu) number = 0u - number;
    return number;
}

bool IsBuildAtLeast(std::uint32_t threshold) {
    return ReadWindowsBuild() >= threshold;
}
