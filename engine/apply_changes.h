#pragma once
// Writes every tweak whose pending value differs from its current one, in catalogue order,
// and the NoDrives value always; a tweak that does not apply here (`availability`) is never
// written. Returns 1 when a changed tweak needs a log-out, else 0. Drive slot k stands for the
// k-th drive of `presentDrives`, the mask the model was read with.

#include "engine/feature_model.h"
#include "engine/registry.h"
#include "engine/where_tweaks_apply.h"
#include "base/error_trail.h"

#include <array>
#include <cstdint>

// The first failing write of each item of the model (by ModelIndex); a success where nothing
// failed or nothing was written.
using WriteStatuses = std::array<RegStatus, kModelItems>;

std::uint32_t ApplyChanges(const FeatureModel& model, const Availability& availability,
                           ErrorTrail& trail, std::uint32_t presentDrives,
                           WriteStatuses* statuses = nullptr);

// The flag ApplyChanges returns, from the comparison of current and pending alone.
std::uint32_t LogOutRequired(const FeatureModel& model, const Availability& availability);
