#include "app/tweak_texts.h"

#include "base/text.h"
#include "engine/catalogue.h"
#include "engine/catalogue_text.h"
#include "engine/feature_model.h"

#include <string_view>

namespace {

const Tweak* tweakAt(std::uint32_t page, std::uint32_t item) {
    return item < kCataloguePages[page].size() ? &kCataloguePages[page][item] : nullptr;
}

// Why the tweak does not apply, in the language: the catalogue's reason is the tweak's own.
std::u16string reasonText(Language language, const Tweak& t, const char16_t* reason) {
    if (reason == kNoAppraiserTask) return Say(language, Text::NoAppraiserTask);
    if (reason == kSchedulerSilent) return Say(language, Text::SchedulerSilent);
    return SayTweak(language, toUtf8(t.control), TweakText::Reason, reason);
}

} // namespace

std::u16string TweakTooltip(Language language, std::uint32_t page, std::uint32_t item,
                            const Availability& availability) {
    const Tweak* t = tweakAt(page, item);
    if (!t) return DriveExplanation(language);
    std::u16string text = TweakExplanation(*t, language);
    if (const char16_t* reason = availability.reason(page, item))
        text = reasonText(language, *t, reason) + u"\r\n" + text;
    return text;
}

std::u16string PageName(Language language, std::uint32_t page) {
    constexpr Text kNames[6] = {Text::NameThisPc, Text::NameTaskbar,  Text::NameContextMenu,
                                Text::NameSystem, Text::NameSecurity, Text::NamePrivacy};
    return Say(language, kNames[page]);
}
