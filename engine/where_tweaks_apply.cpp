#include "engine/where_tweaks_apply.h"

#include "engine/registry.h"

#include <iterator>
#include <string_view>

WindowsRelease ReadWindowsRelease() {
    char16_t edition[64];
    ReadRegString(Hive::LocalMachine, kCurrentVersionKey, u"EditionID", edition, std::size(edition),
                  u"");
    return {ReadWindowsBuild(), edition};
}

bool AbsentOn(const Absence& absence, const WindowsRelease& release) {
    if (!absence.reason || release.build == 0 || release.build < absence.fromBuild ||
        (absence.untilBuild != 0 && release.build >= absence.untilBuild))
        return false;
    if (absence.editions == Editions::All) return true;
    const std::u16string_view edition = release.edition;
    return edition.starts_with(u"Core") || edition == u"Professional" ||
           edition == u"ProfessionalN";
}

Availability::Availability(const WindowsRelease& release, TaskState appraiser) {
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (const Absence& absent = kCataloguePages[page][item].absent;
                AbsentOn(absent, release))
                reasons_[ModelIndex(page, item)] = absent.reason;
    setAppraiserTask(appraiser);
}

// The tweaks kept as the task's state are the ones its read rule names.
void Availability::setAppraiserTask(TaskState appraiser) {
    const char16_t* reason = appraiser == TaskMissing    ? kNoAppraiserTask
                             : appraiser == TaskNoAnswer ? kSchedulerSilent
                                                         : nullptr;
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (kCataloguePages[page][item].read == ReadRule::AppraiserTask)
                reasons_[ModelIndex(page, item)] = reason;
}
