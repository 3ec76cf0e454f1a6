#pragma once
// The tables of the languages: each language's file fills one. Texts are UTF-8.

#include "base/texts/texts.h"

#include <span>

struct TextEntry {
    Text id;
    const char* text;
};

// A tweak's texts, by the catalogue's control name; null where English has none.
struct TweakEntry {
    const char* control;
    const char* label;
    const char* explanation;
    const char* note = nullptr;
    const char* reason = nullptr;
};

struct LanguageTable {
    std::span<const TextEntry> texts;
    std::span<const TweakEntry> tweaks;
};

extern const LanguageTable kEnglishTexts;
extern const LanguageTable kGermanTexts;
extern const LanguageTable kFrenchTexts;
extern const LanguageTable kSpanishTexts;
extern const LanguageTable kItalianTexts;
extern const LanguageTable kBrazilianPortugueseTexts;
extern const LanguageTable kPolishTexts;
extern const LanguageTable kRussianTexts;
extern const LanguageTable kUkrainianTexts;
extern const LanguageTable kTurkishTexts;
extern const LanguageTable kSimplifiedChineseTexts;
extern const LanguageTable kJapaneseTexts;

// The table of a language; null for the pseudo-language, which is made from English.
const LanguageTable* TableOf(Language language);
