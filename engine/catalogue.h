#pragma once
// The catalogue of tweaks: one table per page, in the order of the page blocks. The state
// reader and the applier interpret these rows; nothing about a tweak lives elsewhere.

#include "engine/registry.h"

#include <cstdint>
#include <span>
#include <string_view>

// How a tweak's present state is read into `current`.
enum class ReadRule : std::uint8_t {
    AsStored,      // the DWORD as stored, or readDefault
    IsZero,        // 1 when the DWORD (readDefault when unreadable) is 0
    Equals255,     // 1 when the DWORD (readDefault when unreadable) is exactly 255
    KeyExists,     // 1 when the key opens
    KeyAbsent,     // 1 when the key does not open
    TextEquals,    // 1 when the value's text is exactly `text`
    ZeroBytes,     // 1 when the 4-byte value is four zero bytes (default 01 01 01 01)
    Text,          // the text, cut to 50 units
    AlwaysZero,    // nothing is read (the GodMode folder)
    TakeOwnership, // 1 when all four Take Ownership commands hold their texts
    AppraiserTask, // 1 when the telemetry task is neither running nor ready
    BingSearch,    // build-dependent, see kBingSearch
};

// How a changed tweak is written. "Pending 1" is a pending number of exactly 1.
enum class ApplyRule : std::uint8_t {
    WritePending,      // DWORD = pending
    WriteOrDelete,     // pending 1: DWORD = whenOne; otherwise delete the value
    WriteEither,       // DWORD = whenOne for pending 1, else otherwise
    CreateOrDeleteKey, // pending 1: create the key; otherwise delete it
    DeleteOrCreateKey, // pending 1: delete the key; otherwise create it
    ZeroBytesOrDelete, // pending 1: REG_BINARY of four zero bytes; otherwise delete the value
    TextOrDeleteKeys,  // pending 1: REG_SZ = text; otherwise delete the key, then its parent
    WriteText,         // REG_SZ = the pending text, when the texts differ
    TakeOwnership,     // pending 1: the eight Take Ownership values; otherwise delete the keys
    GodMode,           // create the GodMode folder, whatever the pending value
    Calculator,        // pending 1: install the previous calculator; otherwise remove it
    AppraiserTask,     // pending 1: query, end when running, disable; otherwise enable
    BingSearch,        // build-dependent, see kBingSearch
};

// Editions of Windows by their EditionID: Home starts with "Core", Pro is "Professional" or
// "ProfessionalN".
enum class Editions : std::uint8_t { All, HomeAndPro };

// Where a tweak has nothing to act on, as sure facts tell (Windows builds and editions): builds
// from fromBuild up to, not including, untilBuild (0: no end), on the editions given. reason says
// why, as the user reads it; null: the tweak applies everywhere. An unknown build or edition
// counts as one where the tweak applies.
struct Absence {
    std::uint32_t fromBuild = 0;
    std::uint32_t untilBuild = 0;
    Editions editions = Editions::All;
    const char16_t* reason = nullptr;
};

struct Tweak {
    const char16_t* control;
    const char16_t* label;
    Hive hive;
    const char16_t* key;
    const char16_t* value = u""; // u"" is the key's unnamed value
    // Tweaks kept in both hives: `key` is the per-user key (HKCU) and this the machine-wide
    // one (HKLM). Each hive is read by the read rule and `current` is the larger result;
    // deleting the per-user setting also deletes the machine-wide one when it was set.
    const char16_t* machineKey = nullptr;
    ReadRule read;
    std::uint32_t readDefault = 0;
    ApplyRule apply;
    std::uint32_t whenOne = 0;
    std::uint32_t otherwise = 0;
    const char16_t* text = nullptr;
    bool logOut = false;
    // What the tweak changes, as the user sees it: one or two plain sentences. Where Windows
    // keeps it and whether a log-out is needed come from the columns above (catalogue_text.h).
    const char16_t* explanation;
    // Where it does nothing; and how it works differently on some Windows (a sentence, or null).
    Absence absent = {};
    const char16_t* note = nullptr;
    // Settings files of version 100000 carry it too (in catalogue order, the drives after the
    // This PC folders).
    bool inOlderFiles = false;
};

// What a tweak's control holds, by the control's name: a check box (0 or 1), a number box, a
// text box, or the radio pair (1 for its first button).
enum class TweakKind : std::uint8_t { Check, Number, Text, RadioPair };
constexpr TweakKind KindOf(const Tweak& t) {
    const std::u16string_view name = t.control;
    return name.starts_with(u"spb")    ? TweakKind::Number
           : name.starts_with(u"le")   ? TweakKind::Text
           : name.starts_with(u"rbtn") ? TweakKind::RadioPair
                                       : TweakKind::Check;
}
// The range a number box keeps its number in.
inline constexpr std::uint32_t kNumberMinimum = 50;
inline constexpr std::uint32_t kNumberMaximum = 30000;

#include "engine/catalogue_rows.h"

// How many rows each page has, in page order.
template <std::size_t N> constexpr std::size_t RowCount(const Tweak (&)[N]) {
    return N;
}
inline constexpr std::size_t kCatalogueSizes[6] = {
    RowCount(catalogue_rows::kComputerTweaks),    RowCount(catalogue_rows::kTaskbarTweaks),
    RowCount(catalogue_rows::kContextMenuTweaks), RowCount(catalogue_rows::kSystemTweaks),
    RowCount(catalogue_rows::kSecurityTweaks),    RowCount(catalogue_rows::kPrivacyTweaks)};

// The rows in page order. ComputerPage's This PC folders come first; the drive slots after them
// share kNoDrives.
extern const std::span<const Tweak> kCataloguePages[6];

struct RegistryValue {
    Hive hive;
    const char16_t* key;
    const char16_t* value;
};

// The sum of the bits of the hidden drives; drive slots log out.
inline constexpr RegistryValue kNoDrives{
    Hive::LocalMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
    u"NoDrives"};
inline constexpr bool kDriveSlotLogOut = true;
inline constexpr const char16_t* kDriveSlotExplanation =
    u"Hides this drive from This PC and the navigation pane; it still opens by its path.";

struct TextValue {
    const char16_t* key; // in HKCR
    const char16_t* value;
    const char16_t* text;
};
// The eight Take Ownership values in the order they are written; the read compares entries
// 2, 3, 6 and 7 (the commands), and unchecking deletes kTakeOwnershipKeys in order.
extern const TextValue kTakeOwnershipValues[8];
inline constexpr std::size_t kTakeOwnershipChecks[4] = {2, 3, 6, 7};
extern const char16_t* const kTakeOwnershipKeys[4];

// "Disable Bing search in start menu": from build 19041 one DWORD, on earlier builds two.
struct BingSearchStorage {
    std::uint32_t build;
    const char16_t* readKey;  // HKCU, from the build on
    const char16_t* writeKey; // the same key as the program spells it for writes
    const char16_t* value;
    const char16_t* oldReadKey; // HKCU, before the build
    const char16_t* oldWriteKey;
    const char16_t* oldValue;  // read, written 0 and deleted
    const char16_t* oldValue2; // written 0 and deleted after oldValue
};
inline constexpr BingSearchStorage kBingSearch{
    19041,
    u"Software\\Policies\\Microsoft\\Windows\\Explorer",
    u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer",
    u"DisableSearchBoxSuggestions",
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Search",
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Search",
    u"BingSearchEnabled",
    u"CortanaConsent"};
