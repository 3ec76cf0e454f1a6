#include "engine/catalogue_text.h"

#include "engine/appraiser_task.h"
#include "base/text.h"

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

std::u16string explained(const char16_t* what, const std::u16string& where, bool logOut) {
    return std::u16string(what) + u" Windows keeps it in: " + where + u". " +
           (logOut ? u"Takes effect after you log out and back in." : u"Needs no log-out.");
}

} // namespace

std::u16string TweakStorage(const Tweak& t) {
    switch (t.read) {
    case ReadRule::AlwaysZero:
        return u"desktop folder GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}";
    case ReadRule::AppraiserTask:
        return u"scheduled task " + fromUtf8(kAppraiserTaskPath);
    case ReadRule::TakeOwnership:
        return u"HKCR\\*\\shell\\runas, HKCR\\Directory\\shell\\runas";
    case ReadRule::BingSearch:
        return u"HKCU" + part(kBingSearch.readKey) + part(kBingSearch.value) + u" (builds before " +
               fromUtf8(std::to_string(kBingSearch.build)) + u": HKCU" +
               part(kBingSearch.oldReadKey) + part(kBingSearch.oldValue) + u")";
    default:
        break;
    }
    std::u16string where;
    if (t.machineKey) where = u"HKLM" + part(t.machineKey) + part(t.value) + u", ";
    where += hiveName(t.hive) + part(t.key);
    where += *t.value ? part(t.value) : std::u16string(u" (key)");
    if (t.apply == ApplyRule::Calculator) where += u", System32\\calc1.exe";
    return where;
}

std::u16string DriveStorage(std::size_t letter) {
    return hiveName(kNoDrives.hive) + part(kNoDrives.key) + part(kNoDrives.value) + u" (drive " +
           std::u16string(1, static_cast<char16_t>(u'A' + letter)) + u")";
}

std::u16string TweakExplanation(const Tweak& t) {
    std::u16string text = explained(t.explanation, TweakStorage(t), t.logOut);
    if (t.note) text.append(u" ").append(t.note);
    return text;
}

std::u16string DriveExplanation() {
    return explained(kDriveSlotExplanation,
                     hiveName(kNoDrives.hive) + part(kNoDrives.key) + part(kNoDrives.value) +
                         u", one bit per drive letter",
                     kDriveSlotLogOut);
}
