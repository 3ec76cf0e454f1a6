#include "app/vlk/companion.h"

#include "app/vlk/arguments.h"
#include "app/vlk/model_target.h"
#include "engine/apply_changes.h"
#include "engine/catalogue.h"
#include "engine/catalogue_text.h"
#include "engine/change_outcome.h"
#include "engine/drives.h"
#include "engine/system_state.h"
#include "base/text.h"
#include "settings/apply_with_backup.h"
#include "settings/backups.h"
#include "settings/settings_file.h"
#include "velkaro_version.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>

const char kCompanionUsage[] =
    "Usage: vlk <command> [arguments]\n"
    "\n"
    "  show [--json] [--explain]  print every tweak, its present value and where Windows keeps\n"
    "                             it; --explain adds what each one does\n"
    "  plan FILE [--json]         print what applying the settings data file would change\n"
    "  apply FILE [--json]        back up the present state, apply the file, read the system\n"
    "                             again and report every tweak\n"
    "  check FILE [--json]        tell whether the system holds every setting of the file\n"
    "  export FILE                write the present state as a settings data file (.vlkd)\n"
    "  undo [--json]              back up the present state, then apply the newest backup\n"
    "  backups [--json]           list the backups, newest first, with what each would change\n"
    "  --version                  print vlk's version\n"
    "\n"
    "Exit codes:\n"
    "  0  everything holds\n"
    "  1  some tweaks did not take (apply, undo) or differ from the file (check)\n"
    "  2  the file could not be read (its error code is printed), or there is no backup\n"
    "  3  usage error\n"
    "A required log-out is reported in the output, not in the exit code.\n";

namespace {

// JSON keeps its members in the order they are added.
using Json = nlohmann::ordered_json;

std::string dumped(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string pageName(int page) {
    return toUtf8(kPageNames[page]);
}

// One tweak of the model, as the window shows it.
struct Entry {
    int page;
    std::string control;
    std::string label;
    std::string storage;
    FeatureItem* item;
    bool isText;
    bool oneShot; // the GodMode folder: done when applied, always reads 0
    const char16_t* what;
    std::u16string explanation;
    const char16_t* notApplying; // why the tweak does not apply here; null when it does
};

std::vector<Entry> entries(FeatureModel& m, std::uint32_t presentDrives,
                           const Availability& availability) {
    std::vector<Entry> out;
    for (std::uint32_t p = 0; p < 6; ++p) {
        for (std::uint32_t i = 0; i < kCataloguePages[p].size(); ++i) {
            const Tweak& t = kCataloguePages[p][i];
            out.push_back({static_cast<int>(p), toUtf8(t.control), toUtf8(t.label),
                           toUtf8(TweakStorage(t)), &PageItems(m, p)[i], t.read == ReadRule::Text,
                           t.apply == ApplyRule::GodMode, t.explanation, TweakExplanation(t),
                           availability.reason(p, i)});
        }
        if (p != 0) continue;
        const PresentDrives drives(presentDrives);
        for (std::size_t slot = 0; slot < drives.count; ++slot) {
            const std::size_t letter = drives.letters[slot];
            const std::string drive(1, static_cast<char>('A' + letter));
            out.push_back({0, "chb0_1_" + std::to_string(slot), "Hide drive " + drive,
                           toUtf8(DriveStorage(letter)), &m.computer.items[DriveSlot::item(slot)],
                           false, false, kDriveSlotExplanation, DriveExplanation(), nullptr});
        }
    }
    return out;
}

Json valueJson(const FeatureValue& v, bool isText) {
    return isText ? Json(toUtf8(v.text)) : Json(v.number);
}

std::string valueText(const FeatureValue& v, bool isText) {
    return isText ? "\"" + toUtf8(v.text) + "\"" : std::to_string(v.number);
}

// " in <folder>." or why there is no folder.
std::string inFolder(const std::u16string& folder) {
    return folder.empty() ? ": there is no per-user data folder (APPDATA is not set)."
                          : " in " + toUtf8(folder) + ".";
}

// The changes a file asks for, as the text and the JSON of one report.
struct Changes {
    std::string lines; // "Page | label: from -> to" and what came of it, one per line
    Json list = Json::array();
    bool allHeld = true;
    std::size_t count = 0;
};

struct Session {
    FeatureModel model{};
    Availability availability;
    ErrorTrail trail{};
    const std::uint32_t drives = PresentDriveMask(); // read once: every step maps slots by it
    LocalTime now;
    const bool json;
    std::string& out;

    Session(const LocalTime& time, bool asJson, std::string& o) : now(time), json(asJson), out(o) {
        std::memset(&model, 0, sizeof model);
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }

    // Failure records noted on the way are reported here instead of being sent anywhere.
    std::string records() const { return std::string(trail.text).substr(7); }

    void closeText() {
        if (!records().empty()) out += "Error records: " + records() + "\n";
    }
    void closeJson(Json& json) {
        json["errorRecords"] = records();
        out += dumped(json);
    }

    int show(bool explain) {
        availability = ReadSystemState(model, trail, drives);
        Json list = Json::array();
        for (const Entry& e : entries(model, drives, availability)) {
            if (json) {
                Json tweak = {{"page", pageName(e.page)},
                              {"control", e.control},
                              {"label", e.label},
                              {"value", valueJson(e.item->current, e.isText)},
                              {"applies", !e.notApplying}};
                if (e.notApplying) tweak["reason"] = toUtf8(e.notApplying);
                tweak["storage"] = e.storage;
                if (explain) {
                    tweak["what"] = toUtf8(e.what);
                    tweak["explanation"] = toUtf8(e.explanation);
                }
                list.push_back(std::move(tweak));
                continue;
            }
            out += pageName(e.page) + " | " + e.label +
                   (e.notApplying ? ": does not apply: " + toUtf8(e.notApplying)
                                  : " = " + valueText(e.item->current, e.isText)) +
                   " | " + e.storage + "\n";
            if (explain) out += "    " + toUtf8(e.explanation) + "\n";
        }
        if (!json) return closeText(), CompanionOk;
        Json result = {{"tweaks", std::move(list)}};
        closeJson(result);
        return CompanionOk;
    }

    // Lays the file over the pending values of `m`, whose current values the caller has read,
    // as an import lays it over the window's controls. Returns why the file cannot be read,
    // or "" when it was read.
    std::string layFile(FeatureModel& m, const std::u16string& path) {
        KeepCurrentValues(m);
        SettingsRecords records;
        const std::uint32_t code = ReadSettingsFile(records, path.c_str(), trail);
        if (code != SettingsOk && code != SettingsConverted)
            return "Cannot import settings. Error code: " + std::to_string(code);
        ModelSettingsTarget target(m, drives);
        ImportSettingsRecords(records, drives, target);
        return "";
    }

    // Reads the system, then lays the file over it. False, with the reason printed, when the
    // file cannot be read.
    bool load(const std::u16string& path) {
        availability = ReadSystemState(model, trail, drives);
        const std::string failure = layFile(model, path);
        if (failure.empty()) return true;
        if (json) {
            Json failed = {{"error", failure}};
            closeJson(failed);
        } else {
            out += failure + "\n";
            closeText();
        }
        return false;
    }

    // The changed tweaks of `asked` (what was there -> what is asked; an apply's own list, or
    // none for those of a plan or a check), with `after` what the system holds after an apply
    // (null for a plan or a check), those that do not apply here (`applying`) as skipped.
    // `counted` false leaves out the GodMode folder, whose setting cannot be read back, and the
    // tweaks skipped.
    Changes changes(FeatureModel& asked, FeatureModel* after, const Availability& applying,
                    bool counted, const std::vector<TweakChange>* applied = nullptr) {
        const auto askedList = entries(asked, drives, applying);
        Changes result;
        for (const TweakChange& tweak :
             applied ? *applied : ChangedTweaks(asked, after, applying)) {
            const FeatureItem* item = &ChangedItem(asked, tweak);
            const auto found = std::find_if(askedList.begin(), askedList.end(),
                                            [&](const Entry& e) { return e.item == item; });
            if (found == askedList.end()) continue; // a slot without a drive
            const Entry& e = *found;
            if ((e.oneShot || tweak.skipped) && !counted) continue;
            ++result.count;
            Json change = {{"page", pageName(e.page)},
                           {"control", e.control},
                           {"label", e.label},
                           {"from", valueJson(e.item->current, e.isText)},
                           {"to", valueJson(e.item->pending, e.isText)}};
            std::string line = pageName(e.page) + " | " + e.label + ": " +
                               valueText(e.item->current, e.isText) + " -> " +
                               valueText(e.item->pending, e.isText);
            if (tweak.skipped) {
                change["skipped"] = true;
                change["reason"] = toUtf8(tweak.skipped);
                line += " skipped: " + toUtf8(tweak.skipped);
            } else if (after) {
                const FeatureValue& value = ChangedItem(*after, tweak).current;
                const bool held = tweak.held;
                result.allHeld = result.allHeld && held;
                change["now"] = valueJson(value, e.isText);
                change["held"] = held;
                line += held ? " ok" : " NOT TAKEN (now " + valueText(value, e.isText) + ")";
                if (!held && tweak.refused) {
                    const std::string refusal =
                        toUtf8(RefusalText(Language::English, tweak.refused));
                    line += ": " + refusal;
                    change["refused"] = refusal;
                }
            }
            result.list.push_back(std::move(change));
            result.lines += line + "\n";
        }
        return result;
    }

    // Prints the changes and whether a log-out is needed. `extra` holds the members the JSON
    // object starts with; the text shows the "backup" among them as its first line.
    void report(const Changes& c, bool logOut, Json extra = Json::object()) {
        if (json) {
            Json result = std::move(extra);
            result["changes"] = c.list;
            result["logOut"] = logOut;
            closeJson(result);
            return;
        }
        const auto backup = extra.find("backup");
        if (backup != extra.end() && backup->is_string())
            out += "Backup: " + backup->get<std::string>() + "\n";
        out += c.count == 0 ? "Nothing to change.\n" : c.lines;
        out += std::string("Log-out required: ") + (logOut ? "yes" : "no") + "\n";
        closeText();
    }

    int plan(const std::u16string& path) {
        if (!load(path)) return CompanionBadFile;
        report(changes(model, nullptr, availability, true),
               LogOutRequired(model, availability) == 1);
        return CompanionOk;
    }

    // The detection half of a fleet's remediation: exit 0 when the system holds every setting
    // the file carries, 1 when some differ. The GodMode folder reads 0 always and is not
    // counted: creating it is all its setting does.
    int check(const std::u16string& path) {
        if (!load(path)) return CompanionBadFile;
        const Changes c = changes(model, nullptr, availability, false);
        const bool holds = c.count == 0;
        if (json) {
            Json result = {{"holds", holds}, {"changes", c.list}};
            closeJson(result);
        } else {
            out += holds ? "The system holds every setting of the file.\n"
                         : c.lines + std::to_string(c.count) +
                               (c.count == 1 ? " setting differs" : " settings differ") +
                               " from the file.\n";
            closeText();
        }
        return holds ? CompanionOk : CompanionNotTaken;
    }

    // Backs up the present state (when the file changes something), applies the file and
    // reports every changed tweak.
    int applyFile(const std::u16string& path, Json extra = Json::object()) {
        if (!load(path)) return CompanionBadFile;
        const Availability applying = availability;
        ApplyOutcome applied = ApplyWithBackup(model, availability, drives, now, trail);
        extra["backup"] = applied.backup.empty() ? Json(nullptr) : Json(toUtf8(applied.backup));
        const Changes c = changes(applied.asked, &model, applying, true, &applied.changes);
        if (json) extra["allHeld"] = c.allHeld;
        report(c, applied.logOut, std::move(extra));
        return c.allHeld ? CompanionOk : CompanionNotTaken;
    }

    int undo() {
        const std::vector<std::u16string> backups = ListBackups();
        if (backups.empty()) {
            const std::string text = "No backup to undo" + inFolder(BackupFolder());
            if (!json) return out += text + "\n", closeText(), CompanionBadFile;
            Json result = {{"error", text}};
            closeJson(result);
            return CompanionBadFile;
        }
        if (!json) out += "Undo: applying " + toUtf8(backups.front()) + "\n";
        return applyFile(backups.front(), {{"undone", toUtf8(backups.front())}});
    }

    int listBackups() {
        availability = ReadSystemState(model, trail, drives);
        const std::u16string folder = BackupFolder();
        const std::vector<std::u16string> backups = ListBackups();
        Json list = Json::array();
        if (!json)
            out += backups.empty() ? "No backups" + inFolder(folder) + "\n"
                                   : "Backups in " + toUtf8(folder) + ", newest first:\n";
        for (const std::u16string& path : backups) {
            const std::string name = toUtf8(path.substr(folder.size() + 1));
            FeatureModel asked = model;
            const std::string failure = layFile(asked, path);
            const Changes c =
                failure.empty() ? changes(asked, nullptr, availability, true) : Changes{};
            const bool logOut = LogOutRequired(asked, availability) == 1;
            if (json) {
                Json entry = {{"name", name}, {"path", toUtf8(path)}};
                if (failure.empty()) {
                    entry["changes"] = c.list;
                    entry["logOut"] = logOut;
                } else {
                    entry["error"] = failure;
                }
                list.push_back(std::move(entry));
                continue;
            }
            out += name + "\n";
            if (!failure.empty()) {
                out += "  " + failure + "\n";
                continue;
            }
            for (std::size_t start = 0; start < c.lines.size();) {
                const std::size_t end = c.lines.find('\n', start) + 1;
                out += "  " + c.lines.substr(start, end - start);
                start = end;
            }
            out += c.count == 0 ? "  Nothing to change.\n" : "";
            out += std::string("  Log-out required: ") + (logOut ? "yes" : "no") + "\n";
        }
        if (!json) return closeText(), CompanionOk;
        Json result = {{"folder", toUtf8(folder)}, {"backups", std::move(list)}};
        closeJson(result);
        return CompanionOk;
    }

    int exportTo(const std::u16string& path) {
        availability = ReadSystemState(model, trail, drives);
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

int RunCompanion(const std::vector<std::u16string>& arguments, const LocalTime& now,
                 std::string& out) {
    Invocation call;
    const std::string mistake = ParseArguments(arguments, call);
    if (!mistake.empty()) {
        out += "vlk: " + mistake + "\n\n" + kCompanionUsage;
        return CompanionUsage;
    }
    Session session(now, call.json, out);
    switch (call.command) {
    case Command::Help:
        out += kCompanionUsage;
        return CompanionOk;
    case Command::Version:
        out += "vlk " VELKARO_VERSION_TEXT " (Velkarostrandemilquorbenix)\n";
        return CompanionOk;
    case Command::Show:
        return session.show(call.explain);
    case Command::Plan:
        return session.plan(call.file);
    case Command::Apply:
        return session.applyFile(call.file);
    case Command::Check:
        return session.check(call.file);
    case Command::Export:
        return session.exportTo(call.file);
    case Command::Undo:
        return session.undo();
    case Command::Backups:
        return session.listBackups();
    }
    return CompanionUsage;
}
