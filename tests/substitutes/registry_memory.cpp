// An in-memory registry that gives the Win32 answers the engine relies on: paths and value
// names compared without regard to case, every missing key created on the way, typed values
// with their bytes, and a key that has subkeys refused deletion.
#include "tests/substitutes/registry_memory.h"

#include "engine/registry_key.h"

#include <cstring>
#include <map>

namespace {

struct Value {
    std::uint32_t type;
    std::vector<unsigned char> bytes;
};
using Path = std::pair<Hive, std::u16string>; // folded to upper case
struct Handle {
    Hive hive;
    std::u16string path; // as spelled
    std::uint32_t access;
};

struct Registry {
    std::map<Path, std::map<std::u16string, Value>> keys;
    std::vector<Path> refused;
    std::vector<memreg::Operation> log;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::u16string fold(const char16_t* text) {
    std::u16string out(text ? text : u"");
    for (char16_t& c : out)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return out;
}

// Whether path is top or lies below it.
bool within(const Path& path, const Path& top) {
    const std::u16string& p = path.second;
    const std::size_t n = top.second.size();
    return path.first == top.first && p.compare(0, n, top.second) == 0 &&
           (p.size() == n || p[n] == u'\\');
}

bool refused(const Path& path) {
    for (const Path& top : registry().refused)
        if (within(path, top)) return true;
    return false;
}

const Handle& handle(void* h) {
    return *static_cast<const Handle*>(h);
}

// The values of the open key; null when the key was deleted meanwhile.
std::map<std::u16string, Value>* valuesOf(const Handle& h) {
    auto key = registry().keys.find({h.hive, fold(h.path.c_str())});
    return key == registry().keys.end() ? nullptr : &key->second;
}

void record(const char* verb, const Handle& h, const char16_t* name) {
    registry().log.push_back({verb, h.hive, h.path, name ? name : u""});
}

} // namespace

namespace reg {

Status Key::open(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    const Path p{hive, fold(path)};
    if (registry().keys.count(p) == 0) return kFileNotFound;
    // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE, WRITE_DAC, WRITE_OWNER
    if ((access & 0x000D0006u) != 0 && refused(p)) return kAccessDenied;
    handle_ = new Handle{hive, path, access};
    return kSuccess;
}

Status Key::create(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    const Path p{hive, fold(path)};
    if (refused(p)) return kAccessDenied;
    handle_ = new Handle{hive, path, access};
    if (registry().keys.count(p) != 0) return kSuccess;
    for (std::size_t i = p.second.find(u'\\'); i != std::u16string::npos;
         i = p.second.find(u'\\', i + 1))
        registry().keys[{hive, p.second.substr(0, i)}];
    registry().keys[p];
    record("create", handle(handle_), nullptr);
    return kSuccess;
}

Status Key::query(const char16_t* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) const {
    if ((handle(handle_).access & 0x0001u) == 0) return kAccessDenied; // KEY_QUERY_VALUE
    auto* values = valuesOf(handle(handle_));
    if (!values) return kKeyDeleted;
    auto value = values->find(fold(name));
    if (value == values->end()) return kFileNotFound;
    const auto length = static_cast<std::uint32_t>(value->second.bytes.size());
    if (type) *type = value->second.type;
    if (data && *size < length) { // Windows leaves the part that fits in the buffer
        std::memcpy(data, value->second.bytes.data(), *size);
        *size = length;
        return kMoreData;
    }
    if (data && length) std::memcpy(data, value->second.bytes.data(), length);
    if (size) *size = length;
    return kSuccess;
}

Status Key::set(const char16_t* name, std::uint32_t type, const void* data,
                std::uint32_t size) const {
    if ((handle(handle_).access & 0x0002u) == 0) return kAccessDenied; // KEY_SET_VALUE
    auto* values = valuesOf(handle(handle_));
    if (!values) return kKeyDeleted;
    const auto* bytes = static_cast<const unsigned char*>(data);
    (*values)[fold(name)] = {type, std::vector<unsigned char>(bytes, bytes + size)};
    record("set", handle(handle_), name);
    return kSuccess;
}

Status Key::deleteValue(const char16_t* name) const {
    if ((handle(handle_).access & 0x0002u) == 0) return kAccessDenied;
    auto* values = valuesOf(handle(handle_));
    if (!values) return kKeyDeleted;
    if (values->erase(fold(name)) == 0) return kFileNotFound;
    record("delete-value", handle(handle_), name);
    return kSuccess;
}

void Key::close() noexcept {
    delete static_cast<Handle*>(std::exchange(handle_, nullptr));
}

Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t) {
    const Path p{hive, fold(path)};
    auto key = registry().keys.find(p);
    if (key == registry().keys.end()) return kFileNotFound;
    auto child = registry().keys.lower_bound({hive, p.second + u"\\"});
    if (refused(p) || (child != registry().keys.end() && within(child->first, p)))
        return kAccessDenied;
    registry().keys.erase(key);
    registry().log.push_back({"delete-key", hive, path, u""});
    return kSuccess;
}

} // namespace reg

namespace memreg {

void Reset() {
    registry() = Registry{};
}

void Refuse(Hive hive, const char16_t* path) {
    registry().refused.push_back({hive, fold(path)});
}

void DeleteTree(Hive hive, const char16_t* path) {
    const Path top{hive, fold(path)};
    std::erase_if(registry().keys, [&](const auto& key) { return within(key.first, top); });
}

const std::vector<Operation>& Log() {
    return registry().log;
}

void ClearLog() {
    registry().log.clear();
}

} // namespace memreg
