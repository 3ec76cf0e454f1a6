#include "app/tweak_tooltips.h"

#include "engine/catalogue.h"
#include "engine/catalogue_text.h"
#include "engine/text.h"
#include "engine/win32/wide.h"

#include <commctrl.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kTipWidth = 420;      // pixels; longer texts wrap
constexpr int kTipShownFor = 30000; // milliseconds: long enough to read two sentences
constexpr ControlKind kTweakKinds[] = {ControlKind::CheckBox, ControlKind::RadioButton,
                                       ControlKind::SpinBox, ControlKind::LineEdit};

// Every tweak control's name with the explanation it shows.
std::vector<std::pair<std::string, std::u16string>> tooltipTexts() {
    std::vector<std::pair<std::string, std::u16string>> texts;
    const std::span<const Tweak> pages[] = {kComputerTweaks, kTaskbarTweaks,  kContextMenuTweaks,
                                            kSystemTweaks,   kSecurityTweaks, kPrivacyTweaks};
    for (const auto& page : pages)
        for (const Tweak& t : page) {
            const std::string name = toUtf8(t.control);
            texts.emplace_back(name, TweakExplanation(t));
            if (name.rfind("spb", 0) == 0) texts.emplace_back(name + "updown", TweakExplanation(t));
        }
    texts.emplace_back("rbtn4_1", TweakExplanation(kSecurityTweaks[0])); // the radio pair
    for (std::size_t slot = 0; slot < kDriveSlots; ++slot)
        texts.emplace_back("chb0_1_" + std::to_string(slot), DriveExplanation());
    return texts;
}

HWND handleOf(const UICore& window, const std::string& name) {
    for (ControlKind kind : kTweakKinds) {
        const UIControlSet* set = window.controlSet(kind);
        if (!set) continue;
        const auto found = set->entries().find(name);
        if (found != set->entries().end()) return found->second.handle;
    }
    return nullptr;
}

} // namespace

void AddTweakTooltips(const UICore& window) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.window, nullptr,
                               window.instance, nullptr);
    if (!tip) return;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownFor);
    for (auto& [name, text] : tooltipTexts()) {
        HWND control = handleOf(window, name);
        if (!control) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window.window;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = AsWide(text.data()); // the tooltip keeps a copy
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
