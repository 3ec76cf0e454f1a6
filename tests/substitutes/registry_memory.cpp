// An in-memory registry that honours the Win32 results the engine relies on: per hive a tree
// of keys, names compared without regard to case, typed values with their bytes, the refusal
// to delete a key that has subkeys, and handles that outlive the deletion of their key.
#include "tests/substitutes/registry_memory.h"

#include "engine/registry_key.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace {

std::u16string fold(std::u16string_view s) {
    std::u16string out(s);
    for (auto& c : out) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<char16_t>(c - 32);
    }
    return out;
}

struct Value {
    std::u16string name; // as first written
    std::uint32_t type = 0;
    std::vector<unsigned char> bytes;
};

struct Node {
    std::map<std::u16string, std::shared_ptr<Node>> children; // by folded name
    std::map<std::u16string, Value> values;                   // by folded name
    bool deleted = false;
};

struct OpenKey {
    std::shared_ptr<Node> node;
    std::uint32_t access;
    Hive hive;
    std::u16string path;
};

struct Registry {
    std::map<Hive, std::shared_ptr<Node>> hives;
    std::vector<std::pair<Hive, std::vector<std::u16string>>> refused;
    std::vector<memreg::Operation> log;

    std::shared_ptr<Node>& hive(Hive h) {
        auto& root = hives[h];
        if (!root) root = std::make_shared<Node>();
        return root;
    }
};

Registry& registry() {
    static Registry r;
    return r;
}

std::vector<std::u16string> split(const char16_t* path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (const char16_t* p = path; *p; ++p) {
        if (*p == u'\\') {
            if (!part.empty()) parts.push_back(fold(part));
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty()) parts.push_back(fold(part));
    return parts;
}

bool refused(Hive hive, const std::vector<std::u16string>& parts) {
    for (const auto& [h, prefix] : registry().refused) {
        if (h == hive && prefix.size() <= parts.size() &&
            std::equal(prefix.begin(), prefix.end(), parts.begin()))
            return true;
    }
    return false;
}

// Rights beyond reading: KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE, WRITE_DAC, WRITE_OWNER.
bool wantsWrite(std::uint32_t access) {
    return (access & 0x000D0006u) != 0;
}

std::shared_ptr<Node> find(Hive hive, const std::vector<std::u16string>& parts) {
    auto node = registry().hive(hive);
    for (const auto& part : parts) {
        auto it = node->children.find(part);
        if (it == node->children.end()) return nullptr;
        node = it->second;
    }
    return node;
}

OpenKey* cast(void* handle) {
    return static_cast<OpenKey*>(handle);
}

void record(const char* verb, Hive hive, const char16_t* path, const char16_t* name) {
    registry().log.push_back({verb, hive, path, name ? name : u""});
}

} // namespace

namespace reg {

Status Key::open(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    const auto parts = split(path);
    auto node = find(hive, parts);
    if (!node) return kFileNotFound;
    if (wantsWrite(access) && refused(hive, parts)) return kAccessDenied;
    handle_ = new OpenKey{node, access, hive, path};
    return kSuccess;
}

Status Key::create(Hive hive, const char16_t* path, std::uint32_t access) {
    close();
    const auto parts = split(path);
    if (refused(hive, parts)) return kAccessDenied;
    auto node = registry().hive(hive);
    bool created = false;
    for (const auto& part : parts) {
        auto& child = node->children[part];
        if (!child) {
            child = std::make_shared<Node>();
            created = true;
        }
        node = child;
    }
    if (created) record("create", hive, path, nullptr);
    handle_ = new OpenKey{node, access, hive, path};
    return kSuccess;
}

Status Key::query(const char16_t* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) const {
    const OpenKey* key = cast(handle_);
    if (!key) return 6; // ERROR_INVALID_HANDLE
    if ((key->access & 0x0001u) == 0) return kAccessDenied;
    if (key->node->deleted) return kKeyDeleted;
    if (data && !size) return kInvalidParameter;
    auto it = key->node->values.find(fold(name ? name : u""));
    if (it == key->node->values.end()) return kFileNotFound;
    const Value& value = it->second;
    // A text stored without its terminator is delivered with one, as Windows does.
    std::vector<unsigned char> bytes = value.bytes;
    const bool isText = value.type == 1 || value.type == 2 || value.type == 7;
    if (isText && bytes.size() >= 2 && bytes.size() % 2 == 0 &&
        (bytes[bytes.size() - 2] != 0 || bytes[bytes.size() - 1] != 0))
        bytes.insert(bytes.end(), {0, 0});
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (type) *type = value.type;
    if (data && *size < length) {
        *size = length;
        return kMoreData;
    }
    if (data && length) std::memcpy(data, bytes.data(), length);
    if (size) *size = length;
    return kSuccess;
}

Status Key::set(const char16_t* name, std::uint32_t type, const void* data,
                std::uint32_t size) const {
    const OpenKey* key = cast(handle_);
    if (!key) return 6;
    if ((key->access & 0x0002u) == 0) return kAccessDenied;
    if (key->node->deleted) return kKeyDeleted;
    const char16_t* n = name ? name : u"";
    Value& value = key->node->values[fold(n)];
    value.name = n;
    value.type = type;
    const auto* bytes = static_cast<const unsigned char*>(data);
    value.bytes.assign(bytes, bytes + size);
    record("set", key->hive, key->path.c_str(), n);
    return kSuccess;
}

Status Key::deleteValue(const char16_t* name) const {
    const OpenKey* key = cast(handle_);
    if (!key) return 6;
    if ((key->access & 0x0002u) == 0) return kAccessDenied;
    if (key->node->deleted) return kKeyDeleted;
    if (key->node->values.erase(fold(name ? name : u"")) == 0) return kFileNotFound;
    record("delete-value", key->hive, key->path.c_str(), name);
    return kSuccess;
}

void Key::close() noexcept {
    delete cast(std::exchange(handle_, nullptr));
}

Status DeleteKey(Hive hive, const char16_t* path, std::uint32_t) {
    auto parts = split(path);
    if (parts.empty()) return kAccessDenied;
    const auto leaf = parts.back();
    parts.pop_back();
    auto parent = find(hive, parts);
    if (!parent) return kFileNotFound;
    auto it = parent->children.find(leaf);
    if (it == parent->children.end()) return kFileNotFound;
    parts.push_back(leaf);
    if (refused(hive, parts) || !it->second->children.empty()) return kAccessDenied;
    it->second->deleted = true;
    parent->children.erase(it);
    record("delete-key", hive, path, nullptr);
    return kSuccess;
}

} // namespace reg

namespace memreg {

void Reset() {
    registry() = Registry{};
}

void Refuse(Hive hive, const char16_t* path) {
    registry().refused.emplace_back(hive, split(path));
}

void DeleteTree(Hive hive, const char16_t* path) {
    auto parts = split(path);
    if (parts.empty()) {
        registry().hive(hive) = std::make_shared<Node>();
        return;
    }
    const auto leaf = parts.back();
    parts.pop_back();
    if (auto parent = find(hive, parts)) parent->children.erase(leaf);
}

const std::vector<Operation>& Log() {
    return registry().log;
}
void ClearLog() {
    registry().log.clear();
}

} // namespace memreg
