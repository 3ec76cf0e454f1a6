// An in-memory registry with the Win32 answers the engine relies on: names without regard to
// case, missing keys created on the way, what fits a small buffer, a parent refused deletion.
#include "tests/substitutes/registry_memory.h"
#include "tests/support/registry_tree.h"

#include "base/text.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

using Bytes = std::vector<unsigned char>;
using Path = std::pair<Hive, std::u16string>;                             // folded to upper case
using Values = std::map<std::u16string, std::pair<std::uint32_t, Bytes>>; // type and bytes
using Handle = std::pair<Path, std::u16string>; // the key and its path as the caller spelled it
struct Registry {
    std::map<Path, Values> keys;
    std::vector<Path> refused;
    std::vector<std::string> log;
} registry;

std::u16string fold(const char16_t* text) {
    std::u16string out(text ? text : u"");
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; });
    return out;
}
// Whether path is top or lies below it.
bool within(const Path& path, const Path& top) {
    const std::size_t n = top.second.size();
    return path.first == top.first && path.second.compare(0, n, top.second) == 0 &&
           (path.second.size() == n || path.second[n] == u'\\');
}
bool refused(const Path& path) {
    return std::any_of(registry.refused.begin(), registry.refused.end(),
                       [&](const Path& top) { return within(path, top); });
}
// clang-format off
const Handle& handle(void* h) { return *static_cast<const Handle*>(h); }
// clang-format on
// The open key's values for a change (refused below a refused key) or a read; the change logged
// as "verb path,name".
reg::Status values(void* h, const char* change, const char16_t* name, Values*& out) {
    if (change && refused(handle(h).first)) return reg::kAccessDenied;
    const auto key = registry.keys.find(handle(h).first);
    if (key == registry.keys.end()) return reg::kKeyDeleted;
    out = &key->second;
    if (change && (*change == 's' || out->contains(fold(name))))
        registry.log.push_back(change + (" " + toUtf8(handle(h).second)) + "," +
                               toUtf8(name ? name : u""));
    return reg::kSuccess;
}

} // namespace

namespace reg {

Status Key::open(Hive hive, const char16_t* path, std::uint32_t) {
    close();
    if (registry.keys.count({hive, fold(path)}) == 0) return kFileNotFound;
    handle_ = new Handle{{hive, fold(path)}, path};
    return kSuccess;
}

Status Key::create(Hive hive, const char16_t* path, std::uint32_t) {
    close();
    const Path p{hive, fold(path)};
    if (refused(p)) return kAccessDenied;
    for (std::size_t i = 0; (i = p.second.find(u'\\', i + 1)) != std::u16string::npos;)
        registry.keys[{hive, p.second.substr(0, i)}];
    registry.keys[p];
    handle_ = new Handle{p, path};
    return kSuccess;
}

Status Key::query(const char16_t* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) const {
    Values* v = nullptr;
    if (const Status s = values(handle_, nullptr, name, v)) return s;
    const auto value = v->find(fold(name));
    if (value == v->end()) return kFileNotFound;
    const auto& [kind, bytes] = value->second;
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (type) *type = kind;
    const bool fits = !data || *size >= length;
    if (data && length) std::memcpy(data, bytes.data(), fits ? length : *size);
    if (size) *size = length;
    return fits ? kSuccess : kMoreData;
}

Status Key::set(const char16_t* name, std::uint32_t type, const void* data,
                std::uint32_t size) const {
    Values* v = nullptr;
    if (const Status s = values(handle_, "set", name, v)) return s;
    const auto* bytes = static_cast<const unsigned char*>(data);
    (*v)[fold(name)] = {type, Bytes(bytes, bytes + size)};
    return kSuccess;
}

Status Key::deleteValue(const char16_t* name) const {
    Values* v = nullptr;
    if (const Status s = values(handle_, "delete-value", name, v)) return s;
    return v->erase(fold(name)) ? kSuccess : kFileNotFound;
}

// clang-format off
void Key::close() noexcept { delete static_cast<Handle*>(std::exchange(handle_, nullptr)); }
// clang-format on

Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t) {
    const Path p{hive, fold(path)};
    const auto key = registry.keys.find(p);
    if (key == registry.keys.end()) return kFileNotFound;
    const auto child = registry.keys.lower_bound({hive, p.second + u"\\"});
    if (refused(p) || (child != registry.keys.end() && within(child->first, p)))
        return kAccessDenied;
    registry.keys.erase(key);
    registry.log.push_back("delete-key " + toUtf8(path) + ",");
    return kSuccess;
}

} // namespace reg

// clang-format off
void memreg::Reset() { registry = Registry{}; }
void memreg::Refuse(Hive hive, const char16_t* path) { registry.refused.push_back({hive, fold(path)}); }
void DeleteRegTree(Hive hive, const char16_t* path) {
    std::erase_if(registry.keys, [top = Path{hive, fold(path)}](const auto& key) { return within(key.first, top); });
}
const std::vector<std::string>& memreg::Log() { return registry.log; }
void memreg::ClearLog() { registry.log.clear(); }
// clang-format on
