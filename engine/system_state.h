#pragma once
// Reads the present state of every tweak into `current`, resets `pending`, and sets
// `machineWide` for the tweaks kept in both hives. Never writes to the system; a failed
// task query is recorded in the trail.

#include "engine/feature_model.h"
#include "services/error_trail.h"

void ReadSystemState(ComputerPage& computer, TaskbarPage& taskbar, ContextMenuPage& contextMenu,
                     SystemPage& system, SecurityPage& security, PrivacyPage& privacy,
                     ErrorTrail& trail);

// The same for a whole model.
inline void ReadSystemState(FeatureModel& m, ErrorTrail& trail) {
    ReadSystemState(m.computer, m.taskbar, m.contextMenu, m.system, m.security, m.privacy, trail);
}
