#pragma once
// Writes every tweak whose pending value differs from its current one, in catalogue order,
// and the NoDrives value always. Returns 1 when a changed tweak needs a log-out, else 0.
// Drive slot k stands for the k-th drive of `presentDrives`, the mask the model was read with.

#include "engine/feature_model.h"
#include "services/error_trail.h"

#include <cstdint>

std::uint32_t ApplyChanges(const ComputerPage& computer, const TaskbarPage& taskbar,
                           const ContextMenuPage& contextMenu, const SystemPage& system,
                           const SecurityPage& security, const PrivacyPage& privacy,
                           ErrorTrail& trail, std::uint32_t presentDrives);

// The flag ApplyChanges returns, from the comparison of current and pending alone.
std::uint32_t LogOutRequired(const ComputerPage& computer, const TaskbarPage& taskbar,
                             const ContextMenuPage& contextMenu, const SystemPage& system,
                             const SecurityPage& security, const PrivacyPage& privacy);

// The same for a whole model.
inline std::uint32_t ApplyChanges(const FeatureModel& m, ErrorTrail& trail,
                                  std::uint32_t presentDrives) {
    return ApplyChanges(m.computer, m.taskbar, m.contextMenu, m.system, m.security, m.privacy,
                        trail, presentDrives);
}
inline std::uint32_t LogOutRequired(const FeatureModel& m) {
    return LogOutRequired(m.computer, m.taskbar, m.contextMenu, m.system, m.security, m.privacy);
}
