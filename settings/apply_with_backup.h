#pragma once
// An Apply as the window and vlk make it: back up what the system holds, write what was asked,
// read the system again and tell what took.

#include "engine/change_outcome.h"
#include "engine/feature_model.h"
#include "engine/where_tweaks_apply.h"
#include "services/clock.h"
#include "base/error_trail.h"

#include <cstdint>
#include <string>
#include <vector>

struct ApplyOutcome {
    FeatureModel asked;               // the model as it was applied
    std::u16string backup;            // the backup taken; empty when none
    std::vector<TweakChange> changes; // every change asked: skipped, or whether the system took it
    bool logOut = false;              // a change that took needs a log-out
};

// When a pending value of `model` differs from its current one (the value shown) for a tweak
// that applies, reads the system as it is at this moment and backs that up, stamped `now`: what
// changed behind the window's back is in the backup too, while only what the user changed is
// written. Then writes the changes of the tweaks that apply, and reads the system again into
// `model` and `availability`. Drive slots stand for the drives of `drives`, the mask the model
// was read with.
ApplyOutcome ApplyWithBackup(FeatureModel& model, Availability& availability, std::uint32_t drives,
                             const LocalTime& now, ErrorTrail& trail);
