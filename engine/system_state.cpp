#include "engine/system_state.h"

#include "engine/appraiser_task.h"
#include "engine/catalogue.h"
#include "engine/registry.h"
#include "base/text.h"

#include <cstring>
#include <span>
#include <string_view>

namespace {

constexpr std::size_t kTextBuffer = 1024;

struct Reader {
    TaskState appraiser;
    char16_t text[kTextBuffer] = {};

    bool textIs(Hive hive, const char16_t* key, const char16_t* value, const char16_t* expected) {
        ReadRegString(hive, key, value, text, kTextBuffer, u"");
        return std::u16string_view(text) == std::u16string_view(expected);
    }

    // The rules that read one hive into a number.
    std::uint32_t number(const Tweak& t, Hive hive, const char16_t* key) {
        switch (t.read) {
        case ReadRule::AsStored:
            return ReadRegDword(hive, key, t.value, t.readDefault);
        case ReadRule::IsZero:
            return ReadRegDword(hive, key, t.value, t.readDefault) == 0;
        case ReadRule::Equals255:
            return ReadRegDword(hive, key, t.value, t.readDefault) == 255;
        case ReadRule::KeyExists:
            return RegKeyExists(hive, key);
        case ReadRule::KeyAbsent:
            return !RegKeyExists(hive, key);
        case ReadRule::TextEquals:
            return textIs(hive, key, t.value, t.text);
        case ReadRule::ZeroBytes: {
            // A value shorter than four bytes keeps a byte of the fallback: it is not four zeros.
            const std::uint32_t fallback = 0x01010101;
            std::uint32_t bytes;
            ReadRegData(hive, key, t.value, &bytes, sizeof bytes, &fallback);
            return bytes == 0;
        }
        case ReadRule::AlwaysZero:
        case ReadRule::Text:
            return 0;
        case ReadRule::TakeOwnership:
            for (std::size_t i : kTakeOwnershipChecks) {
                const TextValue& v = kTakeOwnershipValues[i];
                if (!textIs(Hive::ClassesRoot, v.key, v.value, v.text)) return 0;
            }
            return 1;
        case ReadRule::AppraiserTask:
            return appraiser != TaskRunning && appraiser != TaskReady;
        case ReadRule::BingSearch:
            if (IsBuildAtLeast(kBingSearch.build))
                return ReadRegDword(Hive::CurrentUser, kBingSearch.readKey, kBingSearch.value, 0);
            return RegValueExists(Hive::CurrentUser, kBingSearch.oldReadKey,
                                  kBingSearch.oldValue) &&
                   ReadRegDword(Hive::CurrentUser, kBingSearch.oldReadKey, kBingSearch.oldValue,
                                1) == 0;
        }
        return 0;
    }

    // Writes the item whole: current, a cleared pending, and the machine-wide reading.
    void item(const Tweak& t, FeatureItem& item) {
        std::memset(&item, 0, sizeof item);
        if (t.read == ReadRule::Text) {
            ReadRegString(t.hive, t.key, t.value, text, kTextBuffer, u"");
            StrCopyBounded(item.current.text, text, kFeatureTextCapacity);
        } else if (t.machineKey != nullptr) {
            const std::uint32_t machine = number(t, Hive::LocalMachine, t.machineKey);
            const std::uint32_t user = number(t, t.hive, t.key);
            item.current.number = machine > user ? machine : user;
            item.machineWide = machine;
        } else {
            item.current.number = number(t, t.hive, t.key);
        }
    }

    void page(std::span<const Tweak> tweaks, FeatureItem* items) {
        for (std::size_t i = 0; i < tweaks.size(); ++i)
            item(tweaks[i], items[i]);
    }
};

// Slot k stands for the drive of rank k in `present`; it reads 1 when that drive's bit is set
// in NoDrives.
void readDriveSlots(FeatureItem* slots, std::uint32_t present) {
    const std::uint32_t hidden = ReadRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, 0);
    std::memset(slots, 0, sizeof(FeatureItem) * kDriveSlots);
    const PresentDrives drives(present);
    for (std::size_t slot = 0; slot < drives.count; ++slot)
        slots[slot].current.number = (hidden & drives.bit(slot)) != 0;
}

} // namespace

Availability ReadSystemState(FeatureModel& m, std::uint32_t presentDrives, TaskState appraiser) {
    Reader reader{appraiser};
    for (std::uint32_t page = 0; page < 6; ++page)
        reader.page(kCataloguePages[page], PageItems(m, page));
    readDriveSlots(m.computer.items + DriveSlot::firstItem, presentDrives);
    return Availability(ReadWindowsRelease(), appraiser);
}

Availability ReadSystemState(FeatureModel& m, ErrorTrail& trail, std::uint32_t presentDrives) {
    return ReadSystemState(m, presentDrives, RunAppraiserTask(TaskQuery, trail));
}

void TakeAppraiserTask(FeatureModel& m, Availability& availability, TaskState appraiser) {
    Reader reader{appraiser};
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (const Tweak& t = kCataloguePages[page][item]; t.read == ReadRule::AppraiserTask)
                PageItems(m, page)[item].current.number = reader.number(t, t.hive, t.key);
    availability.setAppraiserTask(appraiser);
}
