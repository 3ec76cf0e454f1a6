#pragma once
// The catalogue in words: where Windows keeps a tweak, and the explanation shown as the
// tweak's tooltip and by `vlk show --explain`. Both are composed from the catalogue's own
// columns, so the text cannot name another key than the one the engine reads and writes.

#include "base/texts/texts.h"
#include "engine/catalogue.h"

#include <cstddef>
#include <string>

// Where Windows keeps the tweak: "HKCU\<key>\<value>", "... (key)" for a key that is the
// setting itself, the folder, or the scheduled task; both hives for a tweak kept in both. The
// words around the places in the language; the places themselves are Windows' own.
std::u16string TweakStorage(const Tweak& tweak, Language language = Language::English);
// The value the drive slots are kept in.
std::u16string NoDrivesStorage();
// The drive slot of the drive letter ('A' + letter).
std::u16string DriveStorage(std::size_t letter);

// The explanation in the language: what the tweak changes, where Windows keeps it, whether a
// log-out is needed, and how it works differently on some Windows.
std::u16string TweakExplanation(const Tweak& tweak, Language language = Language::English);
std::u16string DriveExplanation(Language language = Language::English);
