#include "settings/apply_with_backup.h"

#include "engine/apply_changes.h"
#include "engine/system_state.h"
#include "settings/backups.h"

ApplyOutcome ApplyWithBackup(FeatureModel& model, Availability& availability, std::uint32_t drives,
                             const LocalTime& now, ErrorTrail& trail) {
    ApplyOutcome outcome;
    outcome.asked = model;
    if (WritesSomething(ChangedTweaks(model, nullptr, availability))) {
        FeatureModel present{};
        availability = ReadSystemState(present, trail, drives);
        outcome.backup = BackUpState(present, drives, now, trail);
    }
    const Availability applied = availability;
    WriteStatuses statuses{};
    ApplyChanges(model, applied, trail, drives, &statuses);
    availability = ReadSystemState(model, trail, drives);
    outcome.changes = ChangedTweaks(outcome.asked, &model, applied);
    for (TweakChange& c : outcome.changes)
        if (!c.held && !c.skipped) c.refused = statuses[ModelIndex(c.page, c.item)].code;
    outcome.logOut = LogOutAfter(outcome.changes);
    return outcome;
}
