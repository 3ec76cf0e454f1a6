#include "settings/apply_with_backup.h"

#include "engine/apply_changes.h"
#include "engine/system_state.h"
#include "settings/backups.h"

ApplyOutcome ApplyWithBackup(FeatureModel& model, std::uint32_t drives, const LocalTime& now,
                             ErrorTrail& trail) {
    ApplyOutcome outcome;
    outcome.asked = model;
    if (!ChangedTweaks(model, nullptr).empty()) {
        FeatureModel present{};
        ReadSystemState(present, trail, drives);
        outcome.backup = BackUpState(present, drives, now, trail);
    }
    ApplyChanges(model, trail, drives);
    ReadSystemState(model, trail, drives);
    outcome.changes = ChangedTweaks(outcome.asked, &model);
    outcome.logOut = LogOutAfter(outcome.changes);
    return outcome;
}
