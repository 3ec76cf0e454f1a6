#include "app/page_layout.h"

#include "engine/catalogue.h"

namespace {

using T = ControlType;
using A = Action;
constexpr const char16_t* kCatalogue = nullptr;
constexpr const char16_t* kPreview = u"Preview";
constexpr const char16_t* kMilliseconds = u"miliseconds";

// clang-format off
constexpr LayoutRow kLayout[] = {
    // name              type            text                    x    y    w    h   page  action                  first count anchor
    // ComputerPage: the This PC folders, the drive slots, then the folders' preview buttons.
    {"chb0_",           T::CheckBox,    kCatalogue,              16, 120, 200, 25,  0, A::None,                 0, 14},
    {"chb0_1_",         T::DriveBox,    u"Hide drive C",        450, 120, 200, 25,  0, A::None,                 0, 26},
    {"btnPreview0_",    T::Button,      kPreview,               220, 123,  75, 21,  0, A::Preview,              0, 14},
    // TaskbarPage
    {"chb1_0",          T::CheckBox,    kCatalogue,              16, 120, 200, 25,  1, A::LivePreviewToggled},
    {"btnPreview1_0",   T::Button,      kPreview,               400, 123,  75, 21,  1, A::Preview},
    {"chb1_1",          T::CheckBox,    kCatalogue,              16, 145, 200, 25,  1},
    {"btnPreview1_1",   T::Button,      kPreview,               400, 148,  75, 21,  1, A::Preview},
    {"lbl1_2",          T::Label,       u"Taskbar thumbnail delay time", 16, 180, 215, 25, 1},
    {"spb1_2",          T::SpinBox,     nullptr,                255, 178,  55, 22,  1},
    {"lbl1_2_1",        T::Label,       kMilliseconds,          315, 180, 200, 25,  1},
    {"btnPreview1_2",   T::Button,      kPreview,               400, 180,  75, 21,  1, A::Preview},
    {"lbl1_3",          T::Label,       u"Taskbar thumbnail live preview delay time", 16, 210, 255, 25, 1},
    {"spb1_3",          T::SpinBox,     nullptr,                255, 208,  55, 22,  1},
    {"lbl1_3_1",        T::Label,       kMilliseconds,          315, 210, 200, 25,  1},
    {"btnPreview1_3",   T::Button,      kPreview,               400, 210,  75, 21,  1, A::Preview},
    {"chb1_4",          T::CheckBox,    kCatalogue,              16, 245, 200, 25,  1},
    {"btnPreview1_4",   T::Button,      kPreview,               400, 248,  75, 21,  1, A::Preview},
    // ContextMenuPage
    {"chb2_",           T::CheckBox,    kCatalogue,              16, 120, 200, 25,  2, A::None,                 0, 4},
    {"btnPreview2_",    T::Button,      kPreview,               220, 123,  75, 21,  2, A::Preview,              0, 4},
    // SystemPage
    {"chb3_",           T::CheckBox,    kCatalogue,              16, 120, 355, 25,  3, A::None,                 0, 12},
    {"btnPreview3_",    T::Button,      kPreview,               375, 123,  75, 21,  3, A::Preview,              0, 12},
    {"lbl3_12",         T::Label,       u"Registered owner",    500, 125, 140, 25,  3},
    {"le3_12",          T::LineEdit,    u"",                    650, 123, 120, 21,  3},
    {"btnPreview3_12",  T::Button,      kPreview,               800, 123,  75, 21,  3, A::Preview},
    {"lbl3_13",         T::Label,       u"Registered organization", 500, 150, 140, 25, 3},
    {"le3_13",          T::LineEdit,    u"",                    650, 148, 120, 21,  3},
    {"btnPreview3_13",  T::Button,      kPreview,               800, 148,  75, 21,  3, A::Preview},
    // SecurityPage: autorun is a radio pair, so the check boxes start at item 1.
    {"rbtn4_0",         T::RadioButton, kCatalogue,              16, 120, 355, 25,  4},
    {"rbtn4_1",         T::RadioButton, u"Enable autorun",       16, 145, 355, 25,  4},
    {"chb4_",           T::CheckBox,    kCatalogue,              16, 180, 355, 25,  4, A::None,                 1, 3},
    {"btnPreview4_",    T::Button,      kPreview,               375, 183,  75, 21,  4, A::Preview,              1, 2},
    // PrivacyPage
    {"chb5_0",          T::CheckBox,    kCatalogue,              16, 120, 200, 25,  5},
    {"btnPreview5_0",   T::Button,      kPreview,               400, 123,  75, 21,  5, A::Preview},
    {"chb5_1",          T::CheckBox,    kCatalogue,              16, 145, 200, 25,  5},
    {"btnPreview5_1",   T::Button,      kPreview,               400, 148,  75, 21,  5, A::Preview},
    // On every page.
    {"btnSettings",     T::IconLabel,   u"Settings",             10, 533,  48, 48, -1, A::SettingsMenu,         0, 0, Anchor::LeftBottom},
    {"btnApply",        T::Button,      u"Apply",               713, 533, 150, 50, -1, A::Apply,                0, 0, Anchor::RightBottom},
};
// clang-format on

template <std::size_t N>
const char16_t* FindLabel(const Tweak (&table)[N], const std::u16string& control) {
    for (const Tweak& tweak : table)
        if (control == tweak.control) return tweak.label;
    return nullptr;
}

} // namespace

std::span<const LayoutRow> MainWindowLayout() {
    return kLayout;
}

const char16_t* CatalogueLabel(const std::string& control) {
    const std::u16string name(control.begin(), control.end());
    for (const char16_t* label :
         {FindLabel(kComputerTweaks, name), FindLabel(kTaskbarTweaks, name),
          FindLabel(kContextMenuTweaks, name), FindLabel(kSystemTweaks, name),
          FindLabel(kSecurityTweaks, name), FindLabel(kPrivacyTweaks, name)})
        if (label) return label;
    return nullptr;
}

std::vector<std::string> TweakControlNames(const char16_t* control) {
    const std::string name(control, control + std::char_traits<char16_t>::length(control));
    if (name.starts_with("spb")) return {name, name + "updown"};
    if (name == "rbtn4_0") return {name, "rbtn4_1"};
    return {name};
}

LayoutControl LayoutControlAt(const LayoutRow& row, int n) {
    std::string name = row.name;
    if (row.count != 0) name += std::to_string(row.first + n);
    const char16_t* text = row.text ? row.text : CatalogueLabel(name);
    return {std::move(name), text ? text : u"", row.x, row.y + kRunStep * n, row.width, row.height};
}
