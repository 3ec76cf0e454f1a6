#pragma once
// Helpers for tests that drive windows of this process or (the end-to-end test) of another:
// texts, places, finders, clicks, modal boxes and registry values set for a test.

#include <windows.h>

#include <aclapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Delivers every queued message of this thread but WM_QUIT (left by a destroyed window).
inline void PumpMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        if (message.message != WM_QUIT) TranslateMessage(&message), DispatchMessageW(&message);
}

// Asked of the window itself, so that it also holds for a control of another process.
inline std::wstring WindowText(HWND window) {
    wchar_t buffer[2048] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                        10000, &result);
    return buffer;
}

inline std::wstring WindowClass(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

inline bool IsChecked(HWND control) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_BLOCK, 10000, &state);
    return state == BST_CHECKED;
}

inline DWORD WindowStyle(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

// The control's rectangle in its parent's client pixels.
inline RECT ChildRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The first child of the parent (of every process's top-level windows when it is null) that
// matches.
inline HWND FindWindowWhere(HWND parent, const std::function<bool(HWND)>& match) {
    std::pair<const std::function<bool(HWND)>*, HWND> search{&match, nullptr};
    const WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
        auto& [match, found] = *reinterpret_cast<decltype(search)*>(data);
        return (*match)(window) ? (found = window, FALSE) : TRUE;
    };
    parent ? EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search))
           : EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// A click on a control as the user makes it: the control notifies its parent.
inline void SendClick(HWND parent, HWND control, int id = 0) {
    SendMessageW(parent, WM_COMMAND, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(control));
}

// Runs the command and hands each dialog or message box it opens on this thread, once up, to drive
// (from a timer of the box's modal loop); a box open 5 s after that is ended with 99 and fails.
inline void DriveModal(const std::function<void()>& command,
                       const std::function<void(HWND box)>& drive) {
    struct State {
        const std::function<void(HWND)>& drive;
        HWND box = nullptr;
        int ticks = 0;
    };
    static thread_local State* current = nullptr;
    State state{drive}, *outer = std::exchange(current, &state);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        State& s = *current;
        if (s.box && IsWindow(s.box) && IsWindowVisible(s.box)) {
            if (++s.ticks < 250) return;
            ADD_FAILURE() << "a box was still open; ended by the test";
            EndDialog(s.box, 99);
        }
        s.box = FindWindowWhere(nullptr, [](HWND w) {
            return GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
                   WindowClass(w) == L"#32770" && IsWindowVisible(w);
        });
        if (s.box) s.ticks = 0, s.drive(s.box);
    });
    command();
    KillTimer(nullptr, timer);
    current = outer;
}

// The caption and text of every box the command opens, each answered with the command id.
struct Boxes {
    std::vector<std::wstring> captions, texts;
};
inline Boxes AnswerBoxes(const std::function<void()>& command, int answer = IDCANCEL) {
    Boxes seen;
    DriveModal(command, [&](HWND box) {
        seen.captions.push_back(WindowText(box));
        seen.texts.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, answer, 0);
    });
    return seen;
}

// Refuses writes to a key (created when missing) for the life of the object, as Windows refuses a
// standard user a machine-wide key: a DACL denying Everyone writes and deletion, then allowing
// everything; afterwards one allowing everything, and the key deleted if it was created.
class ScopedDeniedKey {
  public:
    ScopedDeniedKey(HKEY root, const wchar_t* path) : root_(root), path_(path) {
        DWORD disposition = 0;
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_READ | WRITE_DAC | KEY_WOW64_64KEY, nullptr,
                        &key_, &disposition);
        created_ = disposition == REG_CREATED_NEW_KEY;
        EXPECT_EQ(setDacl(KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE), ERROR_SUCCESS);
    }
    ~ScopedDeniedKey() {
        setDacl(0);
        RegCloseKey(key_);
        if (created_) RegDeleteKeyExW(root_, path_.c_str(), KEY_WOW64_64KEY, 0);
    }

  private:
    DWORD setDacl(DWORD denied) {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        alignas(DWORD) BYTE buffer[256];
        ACL* acl = reinterpret_cast<ACL*>(buffer);
        InitializeAcl(acl, sizeof buffer, ACL_REVISION);
        if (denied) AddAccessDeniedAce(acl, ACL_REVISION, denied, everyone);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
        const DWORD result = SetSecurityInfo(
            key_, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
            nullptr, nullptr, acl, nullptr);
        FreeSid(everyone);
        return result;
    }
    HKEY root_, key_ = nullptr;
    std::wstring path_;
    bool created_ = false;
};

// Sets a registry value for the life of the object and puts back what was there before.
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type,
                        const void* data, DWORD size)
        : old_(new Saved{root, key, name}) {
        old_->existed = !RegGetValueW(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                                      &old_->type, old_->bytes, &old_->size);
        EXPECT_EQ(RegSetKeyValueW(root, key.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    static ScopedRegistryValue Dword(HKEY root, const std::wstring& key, const wchar_t* name,
                                     DWORD value) {
        return ScopedRegistryValue(root, key, name, REG_DWORD, &value, sizeof(value));
    }
    static ScopedRegistryValue Text(HKEY root, const std::wstring& key, const wchar_t* name,
                                    const std::wstring& text) {
        return ScopedRegistryValue(root, key, name, REG_SZ, text.c_str(),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    ~ScopedRegistryValue() {
        if (const Saved* o = old_.get(); o && o->existed)
            RegSetKeyValueW(o->root, o->key.c_str(), o->name.c_str(), o->type, o->bytes, o->size);
        else if (o)
            RegDeleteKeyValueW(o->root, o->key.c_str(), o->name.c_str());
    }
    ScopedRegistryValue(ScopedRegistryValue&&) noexcept = default;

  private:
    struct Saved {
        HKEY root;
        std::wstring key, name;
        DWORD type = 0, size = 4096;
        BYTE bytes[4096] = {};
        bool existed = false;
    };
    std::unique_ptr<Saved> old_;
};
