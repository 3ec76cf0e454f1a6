#include "app/vlk/companion.h"

#include "app/vlk/model_target.h"
#include "engine/apply_changes.h"
#include "engine/appraiser_task.h"
#include "engine/catalogue.h"
#include "engine/change_outcome.h"
#include "engine/drives.h"
#include "engine/system_state.h"
#include "engine/text.h"
#include "settings/settings_file.h"

#include <algorithm>
#include <cstring>
#include <span>

const char kCompanionUsage[] =
    "Usage: vlk <command> [arguments]\n"
    "\n"
    "  show [--json]         print every tweak, its present value and where Windows keeps it\n"
    "  plan FILE [--json]    print what applying the settings data file would change\n"
    "  apply FILE [--json]   apply the file, read the system again and report every tweak\n"
    "  export FILE           write the present state as a settings data file (.vlkd)\n"
    "\n"
    "Exit codes:\n"
    "  0  everything holds\n"
    "  1  some tweaks did not take (listed)\n"
    "  2  the file could not be read (its error code is printed)\n"
    "  3  usage error\n"
    "A required log-out is reported in the output, not in the exit code.\n";

namespace {

std::string pageName(int page) {
    return toUtf8(kPageNames[page]);
}

std::string hiveName(Hive hive) {
    switch (hive) {
    case Hive::ClassesRoot:
        return "HKCR";
    case Hive::CurrentUser:
        return "HKCU";
    case Hive::LocalMachine:
        return "HKLM";
    }
    return "?";
}

std::string quoteJson(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Builds one JSON object, member by member.
class JsonObject {
  public:
    JsonObject& add(const char* key, const std::string& value) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += '"';
        text_ += key;
        text_ += "\":";
        text_ += value;
        return *this;
    }
    std::string done() const { return text_ + "}"; }

  private:
    std::string text_ = "{";
};

std::string joined(const std::string& list, const std::string& item) {
    return list.empty() ? item : list + "," + item;
}

// One tweak of the model, as the window shows it.
struct Entry {
    int page;
    std::string control;
    std::string label;
    std::string storage;
    FeatureItem* item;
    bool isText;
};

// "\\<part>" of a key path.
std::string part(const char16_t* name) {
    std::string text = "\\";
    text += toUtf8(name);
    return text;
}

std::string storageOf(const Tweak& t) {
    std::string where;
    switch (t.read) {
    case ReadRule::AlwaysZero:
        return "desktop folder GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}";
    case ReadRule::AppraiserTask:
        return std::string("scheduled task ") + kAppraiserTaskPath;
    case ReadRule::TakeOwnership:
        return "HKCR\\*\\shell\\runas, HKCR\\Directory\\shell\\runas";
    case ReadRule::BingSearch:
        return "HKCU" + part(kBingSearch.readKey) + part(kBingSearch.value) +
               " (builds before 19041: HKCU" + part(kBingSearch.oldReadKey) +
               part(kBingSearch.oldValue) + ")";
    default:
        break;
    }
    if (t.machineKey) where = "HKLM" + part(t.machineKey) + (*t.value ? part(t.value) : "") + ", ";
    where += hiveName(t.hive) + part(t.key);
    where += *t.value ? part(t.value) : std::string(" (key)");
    if (t.apply == ApplyRule::Calculator) where += ", System32\\calc1.exe";
    return where;
}

std::vector<Entry> entries(FeatureModel& m, std::uint32_t presentDrives) {
    std::vector<Entry> out;
    const std::span<const Tweak> pages[] = {kComputerTweaks, kTaskbarTweaks,  kContextMenuTweaks,
                                            kSystemTweaks,   kSecurityTweaks, kPrivacyTweaks};
    FeatureItem* const items[] = {m.computer.items, m.taskbar.items,  m.contextMenu.items,
                                  m.system.items,   m.security.items, m.privacy.items};
    for (int p = 0; p < 6; ++p) {
        for (std::size_t i = 0; i < pages[p].size(); ++i) {
            const Tweak& t = pages[p][i];
            out.push_back({p, toUtf8(t.control), toUtf8(t.label), storageOf(t), &items[p][i],
                           t.read == ReadRule::Text});
        }
        if (p != 0) continue;
        std::size_t slot = 0;
        for (std::size_t letter = 0; letter < kDriveSlots; ++letter) {
            if ((presentDrives & DriveSlot::bit(letter)) == 0) continue;
            const std::string drive(1, static_cast<char>('A' + letter));
            out.push_back({0, "chb0_1_" + std::to_string(slot), "Hide drive " + drive,
                           "HKLM\\" + toUtf8(kNoDrives.key) + "\\" + toUtf8(kNoDrives.value) +
                               " (drive " + drive + ")",
                           &m.computer.items[DriveSlot::item(slot)], false});
            ++slot;
        }
    }
    return out;
}

std::string valueText(const FeatureValue& v, bool isText) {
    return isText ? quoteJson(toUtf8(v.text)) : std::to_string(v.number);
}

struct Session {
    FeatureModel model{};
    ErrorTrail trail{};
    const std::uint32_t drives = PresentDriveMask(); // read once: every step maps slots by it
    bool json = false;
    std::string& out;

    explicit Session(std::string& o) : out(o) {
        std::memset(&model, 0, sizeof model);
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }

    // Failure records noted on the way are reported here instead of being sent anywhere.
    std::string records() const { return std::string(trail.text).substr(7); }

    void closeText() {
        if (!records().empty()) out += "Error records: " + records() + "\n";
    }
    std::string jsonRecords() const { return "\"errorRecords\":" + quoteJson(records()); }

    int show() {
        ReadSystemState(model, trail, drives);
        if (json) {
            out += "{\"tweaks\":[";
            bool first = true;
            for (const Entry& e : entries(model, drives)) {
                out += first ? "" : ",";
                first = false;
                out += JsonObject()
                           .add("page", quoteJson(pageName(e.page)))
                           .add("control", quoteJson(e.control))
                           .add("label", quoteJson(e.label))
                           .add("value", valueText(e.item->current, e.isText))
                           .add("storage", quoteJson(e.storage))
                           .done();
            }
            out += "]," + jsonRecords() + "}\n";
            return CompanionOk;
        }
        for (const Entry& e : entries(model, drives))
            out += pageName(e.page) + " | " + e.label + " = " +
                   valueText(e.item->current, e.isText) + " | " + e.storage + "\n";
        closeText();
        return CompanionOk;
    }

    // Reads the system, then lays the file over the pending values as an import lays it
    // over the window's controls. 0 when the file was read.
    std::uint32_t load(const std::u16string& path) {
        ReadSystemState(model, trail, drives);
        KeepCurrentValues(model);
        SettingsRecords records;
        const std::uint32_t code = ReadSettingsFile(records, path.c_str(), trail);
        if (code != 0 && code != 100) {
            out += "Cannot import settings. Error code: " + std::to_string(code) + "\n";
            closeText();
            return code;
        }
        ModelSettingsTarget target(model, drives);
        ImportSettingsRecords(records, drives, target);
        return 0;
    }

    // Lists the changed tweaks (what was there -> what is asked), with `now` what the system
    // holds after an apply (null for a plan), and whether a log-out is needed.
    // Returns whether every change took.
    bool report(FeatureModel& asked, FeatureModel* now, bool logOut) {
        const auto askedList = entries(asked, drives);
        bool allHeld = true;
        std::string items;
        for (const TweakChange& c : ChangedTweaks(asked, now)) {
            const FeatureItem* item = &ChangedItem(asked, c);
            const auto found = std::find_if(askedList.begin(), askedList.end(),
                                            [&](const Entry& e) { return e.item == item; });
            if (found == askedList.end()) continue; // a slot without a drive
            const Entry& e = *found;
            const std::string from = valueText(e.item->current, e.isText);
            const std::string to = valueText(e.item->pending, e.isText);
            JsonObject change;
            change.add("page", quoteJson(pageName(e.page)))
                .add("control", quoteJson(e.control))
                .add("label", quoteJson(e.label))
                .add("from", from)
                .add("to", to);
            std::string line = pageName(e.page) + " | " + e.label + ": " + from + " -> " + to;
            if (now) {
                const FeatureValue& value = ChangedItem(*now, c).current;
                const bool held = c.held;
                allHeld = allHeld && held;
                change.add("now", valueText(value, e.isText)).add("held", held ? "true" : "false");
                line += held ? " ok" : " NOT TAKEN (now " + valueText(value, e.isText) + ")";
            }
            items = json ? joined(items, change.done()) : items + line + "\n";
        }
        if (json) {
            out += "{\"changes\":[" + items + "],\"logOut\":" + (logOut ? "true" : "false");
            if (now) out += std::string(",\"allHeld\":") + (allHeld ? "true" : "false");
            out += ",";
            out += jsonRecords();
            out += "}\n";
        } else {
            out += items.empty() ? "Nothing to change.\n" : items;
            out += std::string("Log-out required: ") + (logOut ? "yes" : "no") + "\n";
            closeText();
        }
        return allHeld;
    }

    int plan(const std::u16string& path) {
        if (load(path) != 0) return CompanionBadFile;
        report(model, nullptr, LogOutRequired(model) == 1);
        return CompanionOk;
    }

    int apply(const std::u16string& path) {
        if (load(path) != 0) return CompanionBadFile;
        FeatureModel asked = model;
        ApplyChanges(model, trail, drives);
        ReadSystemState(model, trail, drives);
        // A log-out is needed only for the changes that took.
        const bool logOut = LogOutAfter(ChangedTweaks(asked, &model));
        return report(asked, &model, logOut) ? CompanionOk : CompanionNotTaken;
    }

    int exportTo(const std::u16string& path) {
        ReadSystemState(model, trail, drives);
        KeepCurrentValues(model);
        SettingsRecords records;
        BuildSettingsRecords(model, drives, records);
        const std::uint32_t code = WriteSettingsFile(records, kSettingsRecordCount, path.c_str());
        if (code != 0) {
            out += "Cannot save settings file. Error code: " + std::to_string(code) + "\n";
            return CompanionBadFile;
        }
        out += "Settings have been successfully saved.\n";
        closeText();
        return CompanionOk;
    }
};

} // namespace

int RunCompanion(const std::vector<std::u16string>& arguments, std::string& out) {
    std::vector<std::u16string> words;
    bool json = false;
    for (const auto& a : arguments) {
        if (a == u"--json")
            json = true;
        else if (a == u"--help" || a == u"-h" || a == u"/?")
            return out += kCompanionUsage, CompanionOk;
        else
            words.push_back(a);
    }
    Session session(out);
    session.json = json;
    if (words.size() == 1 && words[0] == u"show") return session.show();
    if (words.size() == 2 && words[0] == u"plan") return session.plan(words[1]);
    if (words.size() == 2 && words[0] == u"apply") return session.apply(words[1]);
    if (words.size() == 2 && words[0] == u"export" && !json) return session.exportTo(words[1]);
    out += kCompanionUsage;
    return CompanionUsage;
}
