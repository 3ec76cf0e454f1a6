// The languages: every table has every text, with the same "{}" and the same number of lines as
// English; the pseudo-language marks every text; Windows' UI languages choose among them.
#include "base/text.h"
#include "base/texts/tables.h"
#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// What a translation must keep of the English text: its "{}" and its line breaks.
std::pair<std::size_t, std::size_t> Shape(std::u16string_view text) {
    std::size_t holes = 0;
    for (std::size_t at = text.find(u"{}"); at != text.npos; at = text.find(u"{}", at + 2))
        ++holes;
    return {holes, static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'))};
}

TEST(Texts, EveryLanguageHasEveryTextShapedAsTheEnglish) {
    for (std::size_t l = 1; l + 1 < kLanguages; ++l) {
        const auto language = static_cast<Language>(l);
        const LanguageTable& table = *TableOf(language);
        SCOPED_TRACE(l);
        for (std::size_t t = 0; t < kTexts; ++t) {
            const auto text = static_cast<Text>(t);
            const auto own = std::find_if(table.texts.begin(), table.texts.end(),
                                          [&](const TextEntry& e) { return e.id == text; });
            ASSERT_NE(own, table.texts.end()) << "text " << t;
            EXPECT_EQ(Shape(fromUtf8(own->text)), Shape(Say(Language::English, text))) << own->text;
        }
        for (const std::span<const Tweak>& page : kCataloguePages)
            for (const Tweak& tweak : page) {
                const std::string control = toUtf8(tweak.control);
                const auto own =
                    std::find_if(table.tweaks.begin(), table.tweaks.end(),
                                 [&](const TweakEntry& e) { return control == e.control; });
                ASSERT_NE(own, table.tweaks.end()) << control;
                for (const auto& [mine, english] : {std::pair{own->label, tweak.label},
                                                    {own->explanation, tweak.explanation},
                                                    {own->note, tweak.note},
                                                    {own->reason, tweak.absent.reason}})
                    EXPECT_EQ(mine && *mine, english != nullptr) << control;
            }
    }
}

TEST(Texts, APseudoTextIsMarkedLongerAndKeepsItsHoles) {
    const std::u16string text = Say(Language::Pseudo, Text::CannotImport, {u"7"});
    EXPECT_EQ(text.front(), u'[');
    EXPECT_NE(text.find(u"Éŕŕöŕ ç"), text.npos) << toUtf8(text);
    EXPECT_NE(text.find(u": 7"), text.npos);
    EXPECT_GE(text.size(), Say(Language::English, Text::CannotImport, {u"7"}).size() * 7 / 5);
    EXPECT_EQ(SayTweak(Language::German, "chb9_9", TweakText::Label, u"Fallback"), u"Fallback");
}

TEST(Texts, TheFirstPreferredLanguageSpokenIsTheOneAndEnglishTheLast) {
    using L = Language;
    const std::pair<std::vector<std::u16string>, L> cases[] = {
        {{u"de-DE", u"en-US"}, L::German},
        {{u"fi-FI", u"pt-PT"}, L::BrazilianPortuguese},
        {{u"zh-TW", u"ja-JP"}, L::Japanese},
        {{u"zh-Hans-CN"}, L::SimplifiedChinese},
        {{u"en-GB", u"fr-FR"}, L::English},
        {{u"qps-ploc"}, L::Pseudo},
        {{u"fi-FI"}, L::English},
        {{}, L::English},
        {{u"UK-UA"}, L::Ukrainian},
        {{u"ukx"}, L::English}};
    for (const auto& [preferred, language] : cases)
        EXPECT_EQ(LanguageFor(preferred), language)
            << toUtf8(preferred.empty() ? u"" : preferred[0]);
}

} // namespace
