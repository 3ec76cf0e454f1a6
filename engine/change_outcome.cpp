#include "engine/change_outcome.h"

#include "base/text.h"

#include "engine/catalogue.h"
#include "engine/registry.h"

#include <string_view>

namespace {

// The catalogue row of the item; null for a drive slot.
const Tweak* tweakOf(const TweakChange& c) {
    return c.item < kCataloguePages[c.page].size() ? &kCataloguePages[c.page][c.item] : nullptr;
}

bool isText(const Tweak* t) {
    return t != nullptr && t->read == ReadRule::Text;
}

} // namespace

const FeatureItem& ChangedItem(const FeatureModel& model, const TweakChange& change) {
    return PageItems(model, change.page)[change.item];
}

std::vector<TweakChange> ChangedTweaks(const FeatureModel& asked, const FeatureModel* now,
                                       const Availability& availability) {
    std::vector<TweakChange> changes;
    for (std::uint32_t page = 0; page < 6; ++page) {
        for (std::uint32_t item = 0; item < kPageItems[page]; ++item) {
            TweakChange c{page, item, false, availability.reason(page, item)};
            const Tweak* t = tweakOf(c);
            const FeatureItem& a = ChangedItem(asked, c);
            if (!(isText(t) ? TextChanged(a) : NumberChanged(a))) continue;
            if (now && !c.skipped) {
                const FeatureValue& read = ChangedItem(*now, c).current;
                c.held = (t != nullptr && t->apply == ApplyRule::GodMode) ||
                         (isText(t) ? std::u16string_view(read.text) ==
                                          std::u16string_view(a.pending.text)
                                    : read.number == a.pending.number);
            }
            changes.push_back(c);
        }
    }
    return changes;
}

std::u16string RefusalText(Language language, std::int32_t refused) {
    switch (refused) {
    case 0:
        return {};
    case kRegAccessDenied:
        return Say(language, Text::AccessDenied);
    case kRegNotFound:
        return Say(language, Text::NotFound);
    default:
        return Say(language, Text::ErrorNumber, {fromUtf8(std::to_string(refused))});
    }
}

bool WritesSomething(const std::vector<TweakChange>& changes) {
    for (const TweakChange& c : changes)
        if (!c.skipped) return true;
    return false;
}

bool LogOutAfter(const std::vector<TweakChange>& changes) {
    for (const TweakChange& c : changes) {
        const Tweak* t = tweakOf(c);
        if (c.held && (t ? t->logOut : kDriveSlotLogOut)) return true;
    }
    return false;
}

std::u16string TweakLabel(const TweakChange& change, std::uint32_t presentDrives,
                          Language language) {
    if (const Tweak* t = tweakOf(change))
        return SayTweak(language, toUtf8(t->control), TweakText::Label, t->label);
    const PresentDrives drives(presentDrives);
    const std::size_t slot = change.item - DriveSlot::firstItem;
    const char16_t drive =
        slot < drives.count ? static_cast<char16_t>(u'A' + drives.letters[slot]) : u'?';
    return Say(language, Text::HideDrive, {std::u16string(1, drive)});
}
