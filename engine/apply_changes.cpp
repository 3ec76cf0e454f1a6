#include "engine/apply_changes.h"

#include "engine/appraiser_task.h"
#include "engine/catalogue.h"
#include "engine/file_tweaks.h"
#include "engine/registry.h"
#include "base/text.h"

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

void applyTask(std::uint32_t pending, ErrorTrail& trail) {
    if (pending == 1) {
        if (RunAppraiserTask(TaskQuery, trail) == TaskRunning) RunAppraiserTask(TaskEnd, trail);
        RunAppraiserTask(TaskDisable, trail);
    } else {
        RunAppraiserTask(TaskEnable, trail);
    }
}

void applyBingSearch(std::uint32_t pending) {
    const auto& b = kBingSearch;
    const bool current = IsBuildAtLeast(b.build);
    if (pending == 1 && current) {
        WriteRegDword(Hive::CurrentUser, b.writeKey, b.value, 1);
    } else if (pending == 1) {
        WriteRegDword(Hive::CurrentUser, b.oldWriteKey, b.oldValue, 0);
        WriteRegDword(Hive::CurrentUser, b.oldWriteKey, b.oldValue2, 0);
    } else if (current) {
        DeleteRegValue(Hive::CurrentUser, b.writeKey, b.value);
    } else {
        DeleteRegValue(Hive::CurrentUser, b.oldWriteKey, b.oldValue);
        DeleteRegValue(Hive::CurrentUser, b.oldWriteKey, b.oldValue2);
    }
}

bool changed(const Tweak& t, const FeatureItem& item) {
    return t.apply == ApplyRule::WriteText ? TextChanged(item) : NumberChanged(item);
}

// Carries out one tweak's apply rule.
void applyItem(const Tweak& t, const FeatureItem& item, ErrorTrail& trail) {
    const std::uint32_t pending = item.pending.number;
    const bool one = pending == 1;
    const bool machineToo = t.machineKey != nullptr && item.machineWide == 1;

    switch (t.apply) {
    case ApplyRule::WritePending:
        WriteRegDword(t.hive, t.key, t.value, pending);
        if (machineToo) DeleteRegValue(HKLM, t.machineKey, t.value);
        break;
    case ApplyRule::WriteOrDelete:
        if (one) {
            WriteRegDword(t.hive, t.key, t.value, t.whenOne);
        } else {
            DeleteRegValue(t.hive, t.key, t.value);
            if (machineToo) DeleteRegValue(HKLM, t.machineKey, t.value);
        }
        break;
    case ApplyRule::WriteEither:
        WriteRegDword(t.hive, t.key, t.value, one ? t.whenOne : t.otherwise);
        break;
    case ApplyRule::CreateOrDeleteKey:
        if (one) {
            CreateRegKey(t.hive, t.key);
        } else {
            DeleteRegKey(t.hive, t.key);
            if (machineToo) DeleteRegKey(HKLM, t.machineKey);
        }
        break;
    case ApplyRule::DeleteOrCreateKey:
        if (one)
            DeleteRegKey(t.hive, t.key);
        else
            CreateRegKey(t.hive, t.key);
        break;
    case ApplyRule::ZeroBytesOrDelete:
        if (one) {
            const unsigned char zeros[4] = {0, 0, 0, 0};
            WriteRegBinary(t.hive, t.key, t.value, zeros, 4);
        } else {
            DeleteRegValue(t.hive, t.key, t.value);
        }
        break;
    case ApplyRule::TextOrDeleteKeys:
        if (one) {
            WriteRegString(t.hive, t.key, t.value, t.text);
        } else {
            char16_t parent[260];
            parentKey(t.key, parent);
            DeleteRegKey(t.hive, t.key);
            DeleteRegKey(t.hive, parent);
        }
        break;
    case ApplyRule::WriteText:
        WriteRegString(t.hive, t.key, t.value, item.pending.text);
        break;
    case ApplyRule::TakeOwnership:
        if (one) {
            for (const TextValue& v : kTakeOwnershipValues)
                WriteRegString(Hive::ClassesRoot, v.key, v.value, v.text);
        } else {
            for (const char16_t* key : kTakeOwnershipKeys)
                DeleteRegKey(Hive::ClassesRoot, key);
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
        applyTask(pending, trail);
        break;
    case ApplyRule::BingSearch:
        applyBingSearch(pending);
        break;
    }
}

// Whether the tweak is one the Apply writes: changed, and applying here.
bool toApply(std::uint32_t page, std::uint32_t item, const FeatureItem& value,
             const Availability& availability) {
    return changed(kCataloguePages[page][item], value) && !availability.reason(page, item);
}

bool slotChanged(const FeatureItem* slots) {
    for (std::size_t k = 0; k < kDriveSlots; ++k)
        if (NumberChanged(slots[k])) return true;
    return false;
}

// NoDrives is rewritten on every Apply: each changed slot sets or clears the bit of the
// drive it stands for in `present`.
void applyDriveSlots(const FeatureItem* slots, std::uint32_t present) {
    const bool existed = RegValueExists(kNoDrives.hive, kNoDrives.key, kNoDrives.value);
    std::uint32_t hidden = ReadRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, 0);

    std::uint32_t bits[kDriveSlots] = {};
    std::size_t count = 0;
    for (std::size_t letter = 0; letter < kDriveSlots; ++letter) {
        if (present & DriveSlot::bit(letter)) bits[count++] = DriveSlot::bit(letter);
    }

    for (std::size_t k = 0; k < kDriveSlots; ++k) {
        if (!NumberChanged(slots[k])) continue;
        if (slots[k].pending.number == 1)
            hidden |= bits[k];
        else
            hidden &= ~bits[k];
    }

    if (hidden == 0) {
        if (existed) DeleteRegValue(kNoDrives.hive, kNoDrives.key, kNoDrives.value);
    } else {
        WriteRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, hidden);
    }
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
                           ErrorTrail& trail, std::uint32_t presentDrives) {
    // Applying leaves the model as it is, so the flag can be had from the comparison alone.
    const std::uint32_t logOut = LogOutRequired(m, availability);
    for (std::uint32_t page = 0; page < 6; ++page) {
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (toApply(page, item, PageItems(m, page)[item], availability))
                applyItem(kCataloguePages[page][item], PageItems(m, page)[item], trail);
        if (page == 0) applyDriveSlots(m.computer.items + DriveSlot::firstItem, presentDrives);
    }
    return logOut;
}
