#pragma once
// The callbacks of a window's commands, by the control a command comes from and its id.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// A command: the control it comes from (null for none) and the low 32 bits of the
// WM_COMMAND wParam (control id and notification code).
struct CommandKey {
    HWND control;
    std::int32_t id;
    bool operator==(const CommandKey&) const = default;
};

// Ids below 1000 are their own hash; otherwise 64-bit FNV-1a over the handle's 8 bytes.
struct CommandKeyHash {
    std::size_t operator()(const CommandKey& key) const noexcept {
        if (key.id < 1000) return static_cast<std::size_t>(static_cast<std::int64_t>(key.id));
        std::uint64_t value = reinterpret_cast<std::uintptr_t>(key.control);
        std::uint64_t hash = 0xcbf29ce484222325ull;
        for (int i = 0; i < 8; ++i) {
            hash ^= value & 0xff;
            hash *= 0x100000001b3ull;
            value >>= 8;
        }
        return static_cast<std::size_t>(hash);
    }
};

class CommandTable {
  public:
    // Registers the callback for (control, id); a key that has one keeps its first callback.
    void add(HWND control, std::int32_t id, std::function<void()> callback) {
        entries_.try_emplace({control, id}, std::move(callback));
    }
    // The callback of (control, id); null when there is none.
    const std::function<void()>* find(HWND control, std::int32_t id) const {
        const auto found = entries_.find({control, id});
        return found != entries_.end() ? &found->second : nullptr;
    }

  private:
    std::unordered_map<CommandKey, std::function<void()>, CommandKeyHash> entries_;
};
