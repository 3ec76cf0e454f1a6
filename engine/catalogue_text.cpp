#include "engine/catalogue_text.h"

#include "engine/appraiser_task.h"
#include "base/text.h"
#include "base/texts/texts.h"

namespace {

std::u16string hiveName(Hive hive) {
    switch (hive) {
    case Hive::ClassesRoot:
        return u"HKCR";
    case Hive::CurrentUser:
        return u"HKCU";
    case Hive::LocalMachine:
        return u"HKLM";
    }
    return u"?";
}

// "\<name>", or nothing for the key's unnamed value.
std::u16string part(const char16_t* name) {
    std::u16string text;
    if (*name) text.append(u"\\").append(name);
    return text;
}

std::u16string explained(Language language, std::u16string what, const std::u16string& where,
                         bool logOut) {
    return what.append(u" ")
        .append(Say(language, Text::KeptIn, {where}))
        .append(u" ")
        .append(Say(language, logOut ? Text::TakesEffectAfterLogOut : Text::NeedsNoLogOut));
}

} // namespace

std::u16string TweakStorage(const Tweak& t, Language language) {
    switch (t.read) {
    case ReadRule::AlwaysZero:
        return Say(language, Text::DesktopFolder,
                   {u"GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}"});
    case ReadRule::AppraiserTask:
        return Say(language, Text::ScheduledTask, {fromUtf8(kAppraiserTaskPath)});
    case ReadRule::TakeOwnership:
        return u"HKCR\\*\\shell\\runas, HKCR\\Directory\\shell\\runas";
    case ReadRule::BingSearch:
        return u"HKCU" + part(kBingSearch.readKey) + part(kBingSearch.value) + u" (" +
               Say(language, Text::BuildsBefore, {fromUtf8(std::to_string(kBingSearch.build))}) +
               u": HKCU" + part(kBingSearch.oldReadKey) + part(kBingSearch.oldValue) + u")";
    default:
        break;
    }
    std::u16string where;
    if (t.machineKey) where = u"HKLM" + part(t.machineKey) + part(t.value) + u", ";
    where += hiveName(t.hive) + part(t.key);
    where += *t.value ? part(t.value) : std::u16string(u" ").append(Say(language, Text::KeyItself));
    if (t.apply == ApplyRule::Calculator) where += u", System32\\calc1.exe";
    return where;
}

std::u16string NoDrivesStorage() {
    return hiveName(kNoDrives.hive) + part(kNoDrives.key) + part(kNoDrives.value);
}

std::u16string DriveStorage(std::size_t letter) {
    return NoDrivesStorage() + u" " +
           Say(Language::English, Text::DriveLetter,
               {std::u16string(1, static_cast<char16_t>(u'A' + letter))});
}

std::u16string TweakExplanation(const Tweak& t, Language language) {
    const std::string control = toUtf8(t.control);
    std::u16string text =
        explained(language, SayTweak(language, control, TweakText::Explanation, t.explanation),
                  TweakStorage(t, language), t.logOut);
    if (t.note) text.append(u" ").append(SayTweak(language, control, TweakText::Note, t.note));
    return text;
}

std::u16string DriveExplanation(Language language) {
    return explained(language, Say(language, Text::HidesThisDrive),
                     NoDrivesStorage() + u", " + Say(language, Text::OneBitPerDrive),
                     kDriveSlotLogOut);
}
