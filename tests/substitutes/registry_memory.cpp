// An in-memory registry with the Win32 answers the engine relies on: paths and value names
// compared without regard to case, every missing key created on the way, typed values with
// their bytes, too small a buffer given what fits, and a key that has subkeys refused deletion.
#include "tests/substitutes/registry_memory.h"
#include "tests/support/registry_tree.h"

#include "engine/registry_key.h"
#include "engine/text.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct Value {
    std::uint32_t type;
    std::vector<unsigned char> bytes;
};
using Path = std::pair<Hive, std::u16string>; // folded to upper case
using Values = std::map<std::u16string, Value>;
struct Handle {
    Path path;
    std::u16string spelled;
};
struct Registry {
    std::map<Path, Values> keys;
    std::vector<Path> refused;
    std::vector<std::string> log;
} registry;

std::u16string fold(const char16_t* text) {
    std::u16string out(text ? text : u"");
    for (char16_t& c : out)
        c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
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
void record(const char* verb, const std::u16string& path, const char16_t* name) {
    registry.log.push_back(verb + (" " + toUtf8(path)) + "," + toUtf8(name ? name : u""));
}
const Handle& handle(void* h) {
    return *static_cast<const Handle*>(h);
}
// The open key's values for a change (refused below a refused key) or a read.
reg::Status values(void* h, bool change, Values*& out) {
    if (change && refused(handle(h).path)) return reg::kAccessDenied;
    const auto key = registry.keys.find(handle(h).path);
    if (key == registry.keys.end()) return reg::kKeyDeleted;
    out = &key->second;
    return reg::kSuccess;
}

} // namespace

namespace reg {

Status Key::open(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    const Path p{hive, fold(path)};
    if (registry.keys.count(p) == 0) return kFileNotFound;
    // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE, WRITE_DAC, WRITE_OWNER
    if ((access & 0x000D0006u) != 0 && refused(p)) return kAccessDenied;
    handle_ = new Handle{p, path};
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
    if (const Status s = values(handle_, false, v)) return s;
    const auto value = v->find(fold(name));
    if (value == v->end()) return kFileNotFound;
    const auto length = static_cast<std::uint32_t>(value->second.bytes.size());
    if (type) *type = value->second.type;
    const bool fits = !data || *size >= length;
    if (data && length) std::memcpy(data, value->second.bytes.data(), fits ? length : *size);
    if (size) *size = length;
    return fits ? kSuccess : kMoreData;
}

Status Key::set(const char16_t* name, std::uint32_t type, const void* data,
                std::uint32_t size) const {
    Values* v = nullptr;
    if (const Status s = values(handle_, true, v)) return s;
    const auto* bytes = static_cast<const unsigned char*>(data);
    (*v)[fold(name)] = {type, std::vector<unsigned char>(bytes, bytes + size)};
    record("set", handle(handle_).spelled, name);
    return kSuccess;
}

Status Key::deleteValue(const char16_t* name) const {
    Values* v = nullptr;
    if (const Status s = values(handle_, true, v)) return s;
    if (v->erase(fold(name)) == 0) return kFileNotFound;
    record("delete-value", handle(handle_).spelled, name);
    return kSuccess;
}

void Key::close() noexcept {
    delete static_cast<Handle*>(std::exchange(handle_, nullptr));
}

Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t) {
    const Path p{hive, fold(path)};
    const auto key = registry.keys.find(p);
    if (key == registry.keys.end()) return kFileNotFound;
    const auto child = registry.keys.lower_bound({hive, p.second + u"\\"});
    if (refused(p) || (child != registry.keys.end() && within(child->first, p)))
        return kAccessDenied;
    registry.keys.erase(key);
    record("delete-key", path, u"");
    return kSuccess;
}

} // namespace reg

void memreg::Reset() {
    registry = Registry{};
}
void memreg::Refuse(Hive hive, const char16_t* path) {
    registry.refused.push_back({hive, fold(path)});
}
void DeleteRegTree(Hive hive, const char16_t* path) {
    const Path top{hive, fold(path)};
    std::erase_if(registry.keys, [&](const auto& key) { return within(key.first, top); });
}
const std::vector<std::string>& memreg::Log() {
    return registry.log;
}
void memreg::ClearLog() {
    registry.log.clear();
}
