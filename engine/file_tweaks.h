#pragma once
// The tweaks that act on files: the GodMode folder on the desktop and the previous
// calculator copied into the system folder.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kCalculatorLanguages = 35;
extern const char16_t* const kCalculatorLanguageFolders[kCalculatorLanguages];
inline constexpr const char16_t* kCalculatorAppPath =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe";

// Creates "GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}" on the desktop; an existing
// folder is left alone. Nothing removes it.
void CreateGodModeFolder();
// Registers System32\calc1.exe under App Paths (before copying), then copies the program
// and its language resources from the "data" folder beside this program, never replacing an
// existing file. Only the languages whose folder exists receive their resource. When the
// program's folder is unknown or a payload path does not fit, nothing is copied from anywhere
// else: the key stays written, as after a failed copy.
void InstallPreviousCalculator();
// Deletes the App Paths key, the program and its language resources.
void RemovePreviousCalculator();
