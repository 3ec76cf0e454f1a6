#include "app/tweak_tooltips.h"

#include "app/page_layout.h"
#include "app/tweak_texts.h"
#include "base/text.h"
#include "base/win32/wide.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kTipWidth = 420;      // pixels; longer texts wrap
constexpr int kTipShownFor = 30000; // milliseconds: long enough to read two sentences
constexpr ControlKind kTweakKinds[] = {ControlKind::CheckBox, ControlKind::RadioButton,
                                       ControlKind::SpinBox, ControlKind::LineEdit};

// Every tweak control's name with the text it shows.
std::vector<std::pair<std::string, std::u16string>> tooltipTexts(Language language,
                                                                 const Availability& availability) {
    std::vector<std::pair<std::string, std::u16string>> texts;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (!HoldsValue(row)) continue;
        for (int n = 0; n < LayoutControlCount(row); ++n) {
            const LayoutControl c = LayoutControlAt(row, n);
            std::u16string text = TweakTooltip(language, static_cast<std::uint32_t>(row.page),
                                               static_cast<std::uint32_t>(c.item), availability);
            if (row.type == ControlType::SpinBox) texts.emplace_back(c.name + "updown", text);
            texts.emplace_back(c.name, std::move(text));
        }
    }
    return texts;
}

HWND handleOf(const UICore& window, const std::string& name) {
    for (ControlKind kind : kTweakKinds) {
        const UIControlSet* set = window.controlSet(kind);
        if (!set) continue;
        const auto found = set->entries().find(name);
        if (found != set->entries().end()) return found->second->handle();
    }
    return nullptr;
}

// The tool of a control: the tooltip keeps a copy of the text.
TTTOOLINFOW toolOf(const UICore& window, HWND control, std::u16string& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window.window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = AsWide(text.data());
    return tool;
}

} // namespace

HWND AddTweakTooltips(UICore& window, Language language, const Availability& availability,
                      ControlDescriptions& descriptions) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.window, nullptr,
                               window.instance, nullptr);
    if (!tip) return nullptr;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownFor);
    for (auto& [name, text] : tooltipTexts(language, availability))
        if (HWND control = handleOf(window, name)) {
            TTTOOLINFOW tool = toolOf(window, control, text);
            SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            descriptions.describe(control, text.c_str());
        }
    // A greyed control gets no pointer moves: the window passes them on.
    window.relayDisabledChildren(tip);
    return tip;
}

void UpdateTweakTooltips(HWND tip, const UICore& window, Language language,
                         const Availability& availability, ControlDescriptions& descriptions) {
    for (auto& [name, text] : tooltipTexts(language, availability))
        if (HWND control = handleOf(window, name)) {
            TTTOOLINFOW tool = toolOf(window, control, text);
            SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            descriptions.describe(control, text.c_str());
        }
}
