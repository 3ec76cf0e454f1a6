#pragma once
// What an Apply asked for, tweak by tweak, and whether the system took it: the reading after
// the Apply holds the value asked, or it does not (a refused write leaves the tweak as it
// was). The window names the changes that did not take; vlk reports every change.

#include "base/texts/texts.h"
#include "engine/feature_model.h"
#include "engine/where_tweaks_apply.h"

#include <cstdint>
#include <string>
#include <vector>

// The pages as the window and vlk name them, in page-block order.
inline constexpr const char16_t* kPageNames[6] = {u"This PC", u"Taskbar",  u"Context menu",
                                                  u"System",  u"Security", u"Privacy"};

struct TweakChange {
    std::uint32_t page;       // 0 (ComputerPage) to 5 (PrivacyPage)
    std::uint32_t item;       // the item in its page block; drive slot k is item 14 + k
    bool held;                // the reading after the Apply holds the value asked
    const char16_t* skipped;  // why the tweak is not written here; null when it is
    std::int32_t refused = 0; // a change not held: the Win32 error of its first failed write
};

// A refused write as the user reads it: "access denied", "not found", "error <code>"; empty for
// none.
std::u16string RefusalText(Language language, std::int32_t refused);

// The tweaks whose pending value differs from the current one in `asked`, in page and item
// order; those that do not apply (`availability`) are skipped. With `now`, the model read again
// after applying `asked`, each change written says whether now's current value equals the
// pending value asked (the GodMode folder, a one-shot action that always reads 0, counts as
// held); without it, none is held.
std::vector<TweakChange> ChangedTweaks(const FeatureModel& asked, const FeatureModel* now,
                                       const Availability& availability);
// Whether any of them is written.
bool WritesSomething(const std::vector<TweakChange>& changes);

// Whether one of the changes that held needs a log-out to take effect.
bool LogOutAfter(const std::vector<TweakChange>& changes);

// The tweak's label as the window shows it in the language; a drive slot is "Hide drive " and
// the letter of the slot's drive in presentDrives.
std::u16string TweakLabel(const TweakChange& change, std::uint32_t presentDrives,
                          Language language = Language::English);

// The item of the change in a model.
const FeatureItem& ChangedItem(const FeatureModel& model, const TweakChange& change);
