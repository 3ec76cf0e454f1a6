#include "engine/apply_changes.h"

#include "engine/appraiser_task.h"
#include "engine/catalogue.h"
#include "engine/file_tweaks.h"
#include "engine/registry.h"
#include "base/text.h"

#include <algorithm>

namespace {

constexpr Hive HKLM = Hive::LocalMachine;

// The key above `key`, for deleting a key and then its parent.
void parentKey(const char16_t* key, char16_t (&parent)[260]) {
    StrCopyBounded(parent, key, 260);
    std::size_t cut = TextLength(parent);
    while (cut > 0 && parent[cut - 1] != u'\\')
        --cut;
    parent[cut > 0 ? cut - 1 : 0] = 0;
}

// The first failure among the writes of a tweak. A value or key that was not there to delete is
// as asked.
struct FirstFailure {
    RegStatus first;
    void operator()(RegStatus status) {
        if (first && !status && status.code != kRegNotFound) first = status;
    }
};

// A scheduler call's failure as a write's: an HRESULT made from a Win32 error gives that error.
RegStatus taskStatus(std::uint32_t failed) {
    const bool win32 = (failed & 0xFFFF0000u) == 0x80070000u;
    return {static_cast<std::int32_t>(win32 ? failed & 0xFFFFu : failed)};
}

void applyTask(std::uint32_t pending, ErrorTrail& trail, FirstFailure& note) {
    std::uint32_t failed = 0;
    const auto run = [&](TaskCommand command) {
        const TaskState state = RunAppraiserTask(command, trail, &failed);
        note(taskStatus(failed));
        return state;
    };
    if (pending == 1) {
        // Only the changes are writes: a failed query leaves its record and refuses nothing.
        if (RunAppraiserTask(TaskQuery, trail, nullptr) == TaskRunning) run(TaskEnd);
        run(TaskDisable);
    } else {
        run(TaskEnable);
    }
}

void applyBingSearch(std::uint32_t pending, FirstFailure& note) {
    const auto& b = kBingSearch;
    const bool current = IsBuildAtLeast(b.build);
    if (pending == 1 && current) {
        note(WriteRegDword(Hive::CurrentUser, b.writeKey, b.value, 1));
    } else if (pending == 1) {
        note(WriteRegDword(Hive::CurrentUser, b.oldWriteKey, b.oldValue, 0));
        note(WriteRegDword(Hive::CurrentUser, b.oldWriteKey, b.oldValue2, 0));
    } else if (current) {
        note(DeleteRegValue(Hive::CurrentUser, b.writeKey, b.value));
    } else {
        note(DeleteRegValue(Hive::CurrentUser, b.oldWriteKey, b.oldValue));
        note(DeleteRegValue(Hive::CurrentUser, b.oldWriteKey, b.oldValue2));
    }
}

bool changed(const Tweak& t, const FeatureItem& item) {
    return t.apply == ApplyRule::WriteText ? TextChanged(item) : NumberChanged(item);
}

// Carries out one tweak's apply rule; gives the first of its writes that failed.
RegStatus applyItem(const Tweak& t, const FeatureItem& item, ErrorTrail& trail) {
    FirstFailure note;
    const std::uint32_t pending = item.pending.number;
    const bool one = pending == 1;
    const bool machineToo = t.machineKey != nullptr && item.machineWide == 1;

    switch (t.apply) {
    case ApplyRule::WritePending:
        note(WriteRegDword(t.hive, t.key, t.value, pending));
        if (machineToo) note(DeleteRegValue(HKLM, t.machineKey, t.value));
        break;
    case ApplyRule::WriteOrDelete:
        if (one) {
            note(WriteRegDword(t.hive, t.key, t.value, t.whenOne));
        } else {
            note(DeleteRegValue(t.hive, t.key, t.value));
            if (machineToo) note(DeleteRegValue(HKLM, t.machineKey, t.value));
        }
        break;
    case ApplyRule::WriteEither:
        note(WriteRegDword(t.hive, t.key, t.value, one ? t.whenOne : t.otherwise));
        break;
    case ApplyRule::CreateOrDeleteKey:
        if (one) {
            note(CreateRegKey(t.hive, t.key));
        } else {
            note(DeleteRegKey(t.hive, t.key));
            if (machineToo) note(DeleteRegKey(HKLM, t.machineKey));
        }
        break;
    case ApplyRule::DeleteOrCreateKey:
        if (one)
            note(DeleteRegKey(t.hive, t.key));
        else
            note(CreateRegKey(t.hive, t.key));
        break;
    case ApplyRule::ZeroBytesOrDelete:
        if (one) {
            const unsigned char zeros[4] = {0, 0, 0, 0};
            note(WriteRegBinary(t.hive, t.key, t.value, zeros, 4));
        } else {
            note(DeleteRegValue(t.hive, t.key, t.value));
        }
        break;
    case ApplyRule::TextOrDeleteKeys:
        if (one) {
            note(WriteRegString(t.hive, t.key, t.value, t.text));
        } else {
            char16_t parent[260];
            parentKey(t.key, parent);
            note(DeleteRegKey(t.hive, t.key));
            note(DeleteRegKey(t.hive, parent));
        }
        break;
    case ApplyRule::WriteText:
        note(WriteRegString(t.hive, t.key, t.value, item.pending.text));
        break;
    case ApplyRule::TakeOwnership:
        if (one) {
            for (const TextValue& v : kTakeOwnershipValues)
                note(WriteRegString(Hive::ClassesRoot, v.key, v.value, v.text));
        } else {
            for (const char16_t* key : kTakeOwnershipKeys)
                note(DeleteRegKey(Hive::ClassesRoot, key));
        }
        break;
    case ApplyRule::GodMode:
        CreateGodModeFolder();
        break;
    case ApplyRule::Calculator:
        if (one)
            InstallPreviousCalculator();
        else
            RemovePreviousCalculator();
        break;
    case ApplyRule::AppraiserTask:
        applyTask(pending, trail, note);
        break;
    case ApplyRule::BingSearch:
        applyBingSearch(pending, note);
        break;
    }
    return note.first;
}

// Whether the tweak is one the Apply writes: changed, and applying here.
bool toApply(std::uint32_t page, std::uint32_t item, const FeatureItem& value,
             const Availability& availability) {
    return changed(kCataloguePages[page][item], value) && !availability.reason(page, item);
}

bool slotChanged(const FeatureItem* slots) {
    return std::any_of(slots, slots + kDriveSlots, NumberChanged);
}

// NoDrives is rewritten on every Apply: each changed slot sets or clears the bit of the
// drive it stands for in `present`.
RegStatus applyDriveSlots(const FeatureItem* slots, std::uint32_t present) {
    const bool existed = RegValueExists(kNoDrives.hive, kNoDrives.key, kNoDrives.value);
    std::uint32_t hidden = ReadRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, 0);

    const PresentDrives drives(present);
    for (std::size_t slot = 0; slot < drives.count; ++slot) {
        if (!NumberChanged(slots[slot])) continue;
        const std::uint32_t bit = drives.bit(slot);
        hidden = slots[slot].pending.number == 1 ? hidden | bit : hidden & ~bit;
    }

    if (hidden == 0)
        return existed ? DeleteRegValue(kNoDrives.hive, kNoDrives.key, kNoDrives.value)
                       : RegStatus{};
    return WriteRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, hidden);
}

} // namespace

std::uint32_t LogOutRequired(const FeatureModel& m, const Availability& availability) {
    bool logOut = kDriveSlotLogOut && slotChanged(m.computer.items + DriveSlot::firstItem);
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            logOut = logOut || (kCataloguePages[page][item].logOut &&
                                toApply(page, item, PageItems(m, page)[item], availability));
    return logOut ? 1 : 0;
}

std::uint32_t ApplyChanges(const FeatureModel& m, const Availability& availability,
                           ErrorTrail& trail, std::uint32_t presentDrives,
                           WriteStatuses* statuses) {
    // Applying leaves the model as it is, so the flag can be had from the comparison alone.
    const std::uint32_t logOut = LogOutRequired(m, availability);
    WriteStatuses written{};
    for (std::uint32_t page = 0; page < 6; ++page) {
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (toApply(page, item, PageItems(m, page)[item], availability))
                written[ModelIndex(page, item)] =
                    applyItem(kCataloguePages[page][item], PageItems(m, page)[item], trail);
        if (page != 0) continue;
        // Every slot's status is the one NoDrives write's.
        const RegStatus noDrives =
            applyDriveSlots(m.computer.items + DriveSlot::firstItem, presentDrives);
        std::fill_n(written.begin() + DriveSlot::firstItem, kDriveSlots, noDrives);
    }
    if (statuses) *statuses = written;
    return logOut;
}
