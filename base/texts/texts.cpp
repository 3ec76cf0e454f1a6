#include "base/texts/tables.h"

#include "base/text.h"

#include <algorithm>
#include <cctype>

namespace {

// The pseudo-language: each letter a look-alike with a mark, the text in brackets and some
// 40 % longer, the "{}" and the line breaks as they are.
constexpr std::u16string_view kMarkedUpper = u"ÅƁÇÐÉƑĜĤÎĴĶĻṀÑÖÞǪŔŠŢÛṼŴẊÝŽ";
constexpr std::u16string_view kMarkedLower = u"åƀçðéƒĝĥîĵķļṁñöþǫŕšţûṽŵẋýž";

std::u16string pseudo(std::u16string_view english) {
    std::u16string out = u"[";
    for (std::size_t i = 0; i < english.size(); ++i) {
        const char16_t c = english[i];
        if (english.substr(i, 2) == u"{}") {
            out += u"{}";
            ++i;
        } else if (c >= u'A' && c <= u'Z') {
            out += kMarkedUpper[c - u'A'];
        } else if (c >= u'a' && c <= u'z') {
            out += kMarkedLower[c - u'a'];
        } else {
            out += c;
        }
    }
    const std::size_t padding = (english.size() * 2 + 4) / 5; // 40 %, rounded up
    if (padding > 0) out += u' ';
    for (std::size_t k = 1; k < padding; ++k)
        out += k % 4 == 0 ? u' ' : u'!';
    return out + u"]";
}

const char* find(const LanguageTable* table, Text id) {
    if (!table) return nullptr;
    for (const TextEntry& e : table->texts)
        if (e.id == id) return e.text;
    return nullptr;
}

} // namespace

const LanguageTable* TableOf(Language language) {
    static constexpr const LanguageTable* kTables[kLanguages] = {&kEnglishTexts,
                                                                 &kGermanTexts,
                                                                 &kFrenchTexts,
                                                                 &kSpanishTexts,
                                                                 &kItalianTexts,
                                                                 &kBrazilianPortugueseTexts,
                                                                 &kPolishTexts,
                                                                 &kRussianTexts,
                                                                 &kUkrainianTexts,
                                                                 &kTurkishTexts,
                                                                 &kSimplifiedChineseTexts,
                                                                 &kJapaneseTexts,
                                                                 nullptr};
    return kTables[static_cast<std::size_t>(language)];
}

std::u16string Fill(std::u16string_view pattern,
                    std::initializer_list<std::u16string_view> pieces) {
    std::u16string out;
    auto piece = pieces.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 2) == u"{}" && piece != pieces.end()) {
            out += *piece++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::u16string Say(Language language, Text text,
                   std::initializer_list<std::u16string_view> pieces) {
    const std::u16string english = fromUtf8(find(&kEnglishTexts, text));
    if (language == Language::Pseudo) return Fill(pseudo(english), pieces);
    const char* own = find(TableOf(language), text);
    return Fill(own && *own ? fromUtf8(own) : english, pieces);
}

std::u16string SayTweak(Language language, std::string_view control, TweakText which,
                        const char16_t* english) {
    if (!english) return {};
    if (language == Language::Pseudo) return pseudo(english);
    if (const LanguageTable* table = TableOf(language); table && language != Language::English)
        for (const TweakEntry& e : table->tweaks) {
            if (control != e.control) continue;
            const char* own = which == TweakText::Label         ? e.label
                              : which == TweakText::Explanation ? e.explanation
                              : which == TweakText::Note        ? e.note
                                                                : e.reason;
            if (own && *own) return fromUtf8(own);
        }
    return english;
}

Language LanguageFor(std::span<const std::u16string> preferred) {
    constexpr struct {
        std::string_view prefix;
        Language language;
    } kSpoken[] = {{"qps-ploc", Language::Pseudo},
                   {"en", Language::English},
                   {"de", Language::German},
                   {"fr", Language::French},
                   {"es", Language::Spanish},
                   {"it", Language::Italian},
                   {"pt", Language::BrazilianPortuguese},
                   {"pl", Language::Polish},
                   {"ru", Language::Russian},
                   {"uk", Language::Ukrainian},
                   {"tr", Language::Turkish},
                   {"zh-cn", Language::SimplifiedChinese},
                   {"zh-sg", Language::SimplifiedChinese},
                   {"zh-hans", Language::SimplifiedChinese},
                   {"ja", Language::Japanese}};
    for (const std::u16string& name : preferred) {
        std::string lower = toUtf8(name);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        for (const auto& s : kSpoken)
            if (lower.starts_with(s.prefix) &&
                (lower.size() == s.prefix.size() || lower[s.prefix.size()] == '-'))
                return s.language;
    }
    return Language::English;
}
