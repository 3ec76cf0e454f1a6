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
    ApplyChanges(model, applied, trail, drives);
    availability = ReadSystemState(model, trail, drives);
    outcome.changes = ChangedTweaks(outcome.asked, &model, applied);
    outcome.logOut = LogOutAfter(outcome.changes);
    return outcome;
}
