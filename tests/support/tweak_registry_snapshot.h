#pragma once
// Test helper: every registry value and key that applying a tweak can change, saved when the
// object is made and put back when it goes, so that a test that applies (through the window,
// the engine or vlk) leaves the registry as it found it for the tests after it.

#include "engine/catalogue.h"
#include "engine/win32/wide.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

class TweakRegistrySnapshot {
  public:
    TweakRegistrySnapshot() {
        const std::span<const Tweak> pages[] = {kComputerTweaks,    kTaskbarTweaks,
                                                kContextMenuTweaks, kSystemTweaks,
                                                kSecurityTweaks,    kPrivacyTweaks};
        for (const auto& page : pages)
            for (const Tweak& t : page)
                save(t);
        saveValue(kNoDrives.hive, kNoDrives.key, kNoDrives.value);
    }
    ~TweakRegistrySnapshot() {
        for (auto tree = trees_.rbegin(); tree != trees_.rend(); ++tree)
            restore(*tree);
        for (const Value& v : values_) {
            if (v.data)
                RegSetKeyValueW(v.root, v.key.c_str(), v.name.c_str(), v.data->type,
                                v.data->bytes.data(), static_cast<DWORD>(v.data->bytes.size()));
            else
                RegDeleteKeyValueW(v.root, v.key.c_str(), v.name.c_str());
        }
        deleteTree(HKEY_CURRENT_USER, kBackupRoot);
    }
    TweakRegistrySnapshot(const TweakRegistrySnapshot&) = delete;
    TweakRegistrySnapshot& operator=(const TweakRegistrySnapshot&) = delete;

  private:
    static constexpr const wchar_t* kBackupRoot = L"Software\\VelkarostrandemilquorbenixSnapshot";
    static constexpr REGSAM kView = KEY_WOW64_64KEY;

    struct Data {
        DWORD type;
        std::vector<BYTE> bytes;
    };
    struct Value {
        HKEY root;
        std::wstring key, name;
        std::optional<Data> data;
    };
    struct Tree {
        HKEY root;
        std::wstring key;
        std::wstring backup; // empty when the key did not exist
    };

    static HKEY rootOf(Hive hive) {
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::int32_t>(hive)));
    }
    static void deleteTree(HKEY root, const std::wstring& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | kView, &key) != ERROR_SUCCESS)
            return;
        RegDeleteTreeW(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExW(root, path.c_str(), kView, 0);
    }
    // Copies the tree from one key into another (created when missing).
    static void copyTree(HKEY fromRoot, const std::wstring& from, HKEY toRoot,
                         const std::wstring& to) {
        HKEY source = nullptr, target = nullptr;
        if (RegOpenKeyExW(fromRoot, from.c_str(), 0, KEY_READ | kView, &source) == ERROR_SUCCESS &&
            RegCreateKeyExW(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr,
                            &target, nullptr) == ERROR_SUCCESS) {
            EXPECT_EQ(RegCopyTreeW(source, nullptr, target), ERROR_SUCCESS) << toNarrow(from);
        }
        if (source) RegCloseKey(source);
        if (target) RegCloseKey(target);
    }
    static std::string toNarrow(const std::wstring& text) {
        return std::string(text.begin(), text.end());
    }

    void saveValue(Hive hive, const char16_t* key, const char16_t* name) {
        Value v{rootOf(hive), AsWide(key), AsWide(name), std::nullopt};
        DWORD type = 0, size = 0;
        const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
        if (RegGetValueW(v.root, v.key.c_str(), v.name.c_str(), flags, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            Data data{type, std::vector<BYTE>(size)};
            if (RegGetValueW(v.root, v.key.c_str(), v.name.c_str(), flags, &data.type,
                             data.bytes.data(), &size) == ERROR_SUCCESS) {
                data.bytes.resize(size);
                v.data = std::move(data);
            }
        }
        values_.push_back(std::move(v));
    }
    void saveTree(Hive hive, std::wstring key) {
        Tree t{rootOf(hive), std::move(key), L""};
        HKEY opened = nullptr;
        if (RegOpenKeyExW(t.root, t.key.c_str(), 0, KEY_READ | kView, &opened) == ERROR_SUCCESS) {
            RegCloseKey(opened);
            t.backup = std::wstring(kBackupRoot) + L"\\" + std::to_wstring(trees_.size());
            copyTree(t.root, t.key, HKEY_CURRENT_USER, t.backup);
        }
        trees_.push_back(std::move(t));
    }
    void restore(const Tree& t) {
        deleteTree(t.root, t.key);
        if (!t.backup.empty()) copyTree(HKEY_CURRENT_USER, t.backup, t.root, t.key);
    }

    // What the tweak's apply rule writes or deletes.
    void save(const Tweak& t) {
        switch (t.apply) {
        case ApplyRule::CreateOrDeleteKey:
        case ApplyRule::DeleteOrCreateKey:
        case ApplyRule::Calculator:
            saveTree(t.hive, AsWide(t.key));
            if (t.machineKey) saveTree(Hive::LocalMachine, AsWide(t.machineKey));
            break;
        case ApplyRule::TextOrDeleteKeys: { // the key and its parent
            const std::wstring key = AsWide(t.key);
            saveTree(t.hive, key.substr(0, key.rfind(L'\\')));
            break;
        }
        case ApplyRule::TakeOwnership: // the two parents of the four keys
            saveTree(Hive::ClassesRoot, AsWide(kTakeOwnershipKeys[1]));
            saveTree(Hive::ClassesRoot, AsWide(kTakeOwnershipKeys[3]));
            break;
        case ApplyRule::BingSearch:
            saveValue(Hive::CurrentUser, kBingSearch.writeKey, kBingSearch.value);
            saveValue(Hive::CurrentUser, kBingSearch.oldWriteKey, kBingSearch.oldValue);
            saveValue(Hive::CurrentUser, kBingSearch.oldWriteKey, kBingSearch.oldValue2);
            break;
        case ApplyRule::GodMode:
        case ApplyRule::AppraiserTask:
            break; // not in the registry
        default:
            saveValue(t.hive, t.key, t.value);
            if (t.machineKey) saveValue(Hive::LocalMachine, t.machineKey, t.value);
            break;
        }
    }

    std::vector<Value> values_;
    std::vector<Tree> trees_;
};
