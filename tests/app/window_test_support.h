#pragma once
// Helpers for tests that drive windows of this process or (the end-to-end test) of another.

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <functional>
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

// The control's rectangle in its parent's client pixels.
inline RECT ChildRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The first child of the parent (top-level window of any process when it is null) that matches.
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
        EXPECT_EQ(setDacl(L"D:P(D;;0x10006;;;WD)(A;;KA;;;WD)"), ERROR_SUCCESS);
    }
    ~ScopedDeniedKey() {
        setDacl(L"D:P(A;;KA;;;WD)");
        RegCloseKey(key_);
        if (created_) RegDeleteKeyExW(root_, path_, KEY_WOW64_64KEY, 0);
    }

  private:
    LONG setDacl(const wchar_t* sddl) { // 0x10006: KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                             nullptr);
        const LONG result = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        return result;
    }
    HKEY root_, key_ = nullptr;
    const wchar_t* path_;
    bool created_ = false;
};

// Sets a registry value for the life of the object and puts back what was there before (kept in
// a std::deque or std::optional: it neither moves nor copies).
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(HKEY root, std::wstring key, const wchar_t* name, DWORD type,
                        const void* data, DWORD size)
        : root_(root), key_(std::move(key)), name_(name) {
        existed_ = !RegGetValueW(root, key_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type_, old_,
                                 &size_);
        EXPECT_EQ(RegSetKeyValueW(root, key_.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    ScopedRegistryValue(HKEY root, std::wstring key, const wchar_t* name, const std::wstring& text)
        : ScopedRegistryValue(root, std::move(key), name, REG_SZ, text.c_str(),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) {}
    ~ScopedRegistryValue() {
        if (existed_) RegSetKeyValueW(root_, key_.c_str(), name_.c_str(), type_, old_, size_);
        if (!existed_) RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
    }
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;

  private:
    HKEY root_;
    std::wstring key_, name_;
    DWORD type_ = 0, size_ = 4096;
    BYTE old_[4096];
    bool existed_ = false;
};
