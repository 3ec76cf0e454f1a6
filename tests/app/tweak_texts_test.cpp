// The tweaks' tooltips in the window's language: why a tweak does not apply comes first, in the
// language (the catalogue's reason through the tweak's own row, the task's and the scheduler's
// through the window's texts), then the explanation; a drive slot's is the drives' explanation.
#include "app/tweak_texts.h"

#include "base/text.h"
#include "engine/catalogue_text.h"

#include <gtest/gtest.h>

namespace {

// Page 0's 3D Objects folder (absent on Windows 11) and page 5's telemetry.
constexpr std::uint32_t kObjects = 7, kPrivacy = 5, kTelemetry = 0;

TEST(TweakTexts, AReasonComesFirstInTheLanguageThenTheExplanation) {
    const Availability windows11({22631, u""}, TaskMissing), silent({19045, u""}, TaskNoAnswer);
    for (Language language : {Language::English, Language::German, Language::Japanese}) {
        SCOPED_TRACE(static_cast<int>(language));
        const std::u16string objects = TweakTooltip(language, 0, kObjects, windows11);
        const std::u16string explanation = TweakExplanation(kCataloguePages[0][kObjects], language);
        ASSERT_TRUE(objects.ends_with(u"\r\n" + explanation)) << toUtf8(objects);
        EXPECT_EQ(objects.substr(0, objects.size() - explanation.size() - 2),
                  SayTweak(language, "chb0_7", TweakText::Reason,
                           kCataloguePages[0][kObjects].absent.reason));
        EXPECT_EQ(TweakTooltip(language, 0, kObjects, silent), explanation) << "Windows 10";
        EXPECT_EQ(TweakTooltip(language, kPrivacy, kTelemetry, windows11)
                      .rfind(Say(language, Text::NoAppraiserTask) + u"\r\n", 0),
                  0u);
        EXPECT_EQ(TweakTooltip(language, kPrivacy, kTelemetry, silent)
                      .rfind(Say(language, Text::SchedulerSilent) + u"\r\n", 0),
                  0u);
        // The first drive slot comes right after the folders.
        EXPECT_EQ(TweakTooltip(language, 0, kThisPcFolders, windows11), DriveExplanation(language));
    }
    for (Language language : {Language::German, Language::Japanese})
        for (const Availability& availability : {windows11, silent})
            for (const auto& [page, item] : {std::pair{0u, kObjects}, {kPrivacy, kTelemetry}})
                EXPECT_NE(TweakTooltip(language, page, item, availability),
                          TweakTooltip(Language::English, page, item, availability))
                    << static_cast<int>(language) << " " << page << "." << item;
}

} // namespace
