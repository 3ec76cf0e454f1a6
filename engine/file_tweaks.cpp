#include "engine/file_tweaks.h"

#include "engine/file_system.h"
#include "engine/registry.h"
#include "base/text.h"

#include <string>

const char16_t* const kCalculatorLanguageFolders[kCalculatorLanguages] = {
    u"ar-SA", u"bg-BG",      u"cs-CZ", u"da-DK", u"de-DE", u"el-GR", u"en-GB", u"en-US", u"et-EE",
    u"fi-FI", u"fr-FR",      u"he-IL", u"hr-HR", u"hu-HU", u"it-IT", u"ja-JP", u"ko-KR", u"lt-LT",
    u"lv-LV", u"nb-NO",      u"nl-NL", u"pl-PL", u"pt-BR", u"pt-PT", u"ro-RO", u"ru-RU", u"sk-SK",
    u"sl-SI", u"sr-Latn-RS", u"sv-SE", u"th-TH", u"tr-TR", u"uk-UA", u"zh-cn", u"zh-HK",
};

namespace {

using Path = char16_t[kPathCapacity];

// The System32 folder under the Windows directory; empty when that is unknown.
void systemFolder(Path& path) {
    if (WindowsFolder(path, kPathCapacity) == 0) {
        path[0] = 0;
        return;
    }
    const std::size_t length = TextLength(path);
    if (length == 0 || path[length - 1] != u'\\') StrAppendBounded(path, u"\\", kPathCapacity);
    StrAppendBounded(path, u"System32", kPathCapacity);
}

void calculatorTarget(const Path& system, Path& target) {
    StrCopyBounded(target, system, kPathCapacity);
    StrAppendBounded(target, u"\\calc1.exe", kPathCapacity);
}

void languageTarget(const Path& system, std::size_t language, Path& target) {
    StrCopyBounded(target, system, kPathCapacity);
    StrAppendBounded(target, u"\\", kPathCapacity);
    StrAppendBounded(target, kCalculatorLanguageFolders[language], kPathCapacity);
    StrAppendBounded(target, u"\\calc1.exe.mui", kPathCapacity);
}

// The payload files lie in the "data" folder beside the program itself, never in whatever
// the current directory happens to be: they are copied into the system folder. False when
// that path cannot be formed whole; then nothing may be read in its place.
bool payloadSource(const char16_t* name, Path& source) {
    if (!ProgramFolder(source, kPathCapacity)) return false;
    StrAppendBounded(source, u"\\data\\", kPathCapacity);
    return StrAppendBounded(source, name, kPathCapacity) < kPathCapacity;
}

} // namespace

void CreateGodModeFolder() {
    Path path = {};
    if (!DesktopFolder(path, kPathCapacity)) return;
    StrAppendBounded(path, u"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}", kPathCapacity);
    MakeDirectory(path);
}

void InstallPreviousCalculator() {
    Path system = {};
    systemFolder(system);
    Path target = {};
    calculatorTarget(system, target);
    WriteRegString(Hive::LocalMachine, kCalculatorAppPath, u"", target);

    Path wow64 = {};
    const bool is64Bit = SystemWow64Folder(wow64, kPathCapacity) != 0;
    Path source = {};
    if (payloadSource(is64Bit ? u"datax64.dat" : u"datax32.dat", source))
        CopyFileIfAbsent(source, target);

    for (std::size_t i = 0; i < kCalculatorLanguages; ++i) {
        languageTarget(system, i, target);
        const std::u16string name = u"data" + fromUtf8(std::to_string(i)) + u".dat";
        if (payloadSource(name.c_str(), source)) CopyFileIfAbsent(source, target);
    }
}

void RemovePreviousCalculator() {
    Path system = {};
    systemFolder(system);
    DeleteRegKey(Hive::LocalMachine, kCalculatorAppPath);
    Path target = {};
    calculatorTarget(system, target);
    RemoveFile(target);
    for (std::size_t i = 0; i < kCalculatorLanguages; ++i) {
        languageTarget(system, i, target);
        RemoveFile(target);
    }
}
