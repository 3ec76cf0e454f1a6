#pragma once
// The texts a user of the window sees, in the languages the program speaks. English is this
// module's own table and, for the tweaks, the catalogue's; every other language is a table of its
// own (base/texts/<language>.cpp). A text a table lacks is said in English, never empty. vlk's
// output, the settings files, the web requests and the error codes stay English.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class Language : std::uint8_t {
    English,
    German,
    French,
    Spanish,
    Italian,
    BrazilianPortuguese,
    Polish,
    Russian,
    Ukrainian,
    Turkish,
    SimplifiedChinese,
    Japanese,
    Pseudo, // for tests: every English text accented, bracketed and some 40 % longer
};
inline constexpr std::size_t kLanguages = 13;

// Windows' preferred UI languages for this thread, in the order its resource loader takes them.
std::vector<std::u16string> PreferredUiLanguages();

// The language of the first of Windows' preferred UI languages ("de-DE", "pt-BR", "zh-Hans-CN",
// "qps-ploc", in Windows' order) that the program speaks; English when it speaks none of them.
Language LanguageFor(std::span<const std::u16string> preferred);

// Every text of the window but the tweaks' own. "{}" stands for what the caller puts in, in order.
enum class Text : std::uint16_t {
    // The window.
    Apply,
    Preview,
    Milliseconds,
    EnableAutorun,
    SettingsIcon,
    HideDrive, // {} the drive letter
    PageComputer,
    PageTaskbar,
    PageContextMenu,
    PageSystem,
    PageSecurity,
    PagePrivacy,
    About,
    MenuSettings,
    MenuImportExport,
    MenuCheckForUpdate,
    // A tweak's page as the messages name it.
    NameThisPc,
    NameTaskbar,
    NameContextMenu,
    NameSystem,
    NameSecurity,
    NamePrivacy,
    // Messages.
    NotTaken,      // the first line of the list of changes that did not take
    ChangeOnPage,  // {} the tweak's label, {} its page's name
    RefusedChange, // {} the change as ChangeOnPage says it, {} why it was refused
    AccessDenied,
    NotFound,
    ErrorNumber, // {} the number
    NeedsAdministrator,
    LogOutRequired,
    NewVersion,
    LatestVersion,
    ServiceUnavailable,
    NotSupported,
    CannotOpenImportExport,
    Imported,
    ImportedOlder,
    CannotImport, // {} the error code
    Saved,
    CannotSave, // {} the error code
    CaptionImport,
    CaptionExport,
    // The Import and Export dialog.
    ImportExportTitle,
    GroupImport,
    GroupExport,
    ImportOrExport,
    DataFileType,
    CannotOpenFileDialog,
    ImportExportExplanation,
    NoteLabel,
    NoteText,
    ShowExplanation, // the name of the button that switches to the explanation and back
    // The About dialog.
    AboutTitle,
    Version, // {} the version
    AboutGroup,
    Company,
    Web,
    Email,
    Ok,
    // The Settings dialog.
    SettingsTitle,
    CheckForUpdates,
    SendErrorReport,
    WhatDataAreCollected,
    Cancel,
    // The Preview dialog.
    PreviewTitle,
    // A tweak's explanation around its own sentences; where Windows keeps it.
    KeptIn, // {} where
    TakesEffectAfterLogOut,
    NeedsNoLogOut,
    HidesThisDrive,
    OneBitPerDrive,
    KeyItself,     // a key that is the setting itself
    DesktopFolder, // {} the folder's name
    ScheduledTask, // {} the task's path
    BuildsBefore,  // {} the build
    DriveLetter,   // {} the letter
    // Why a tweak is greyed, beyond the catalogue's own reasons.
    NoAppraiserTask,
    SchedulerSilent,
    Count
};
inline constexpr std::size_t kTexts = static_cast<std::size_t>(Text::Count);

// The text in the language, with "{}" replaced by the pieces in order.
std::u16string Say(Language language, Text text,
                   std::initializer_list<std::u16string_view> pieces = {});

// A tweak's own texts, by the catalogue's control name: its label, explanation, the note on how it
// works differently, and why it does nothing where it does nothing. `english` is the catalogue's.
enum class TweakText : std::uint8_t { Label, Explanation, Note, Reason };
std::u16string SayTweak(Language language, std::string_view control, TweakText which,
                        const char16_t* english);

// "{}" replaced by the pieces in order.
std::u16string Fill(std::u16string_view pattern, std::initializer_list<std::u16string_view> pieces);
