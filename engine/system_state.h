#pragma once
// Reads the present state of every tweak into `current`, resets `pending`, and sets
// `machineWide` for the tweaks kept in both hives. Never writes to the system; a failed
// task query is recorded in the trail. Drive slot k stands for the k-th drive of
// `presentDrives` (bit 0 for A up to bit 25 for Z): the drives the window's boxes show.

#include "engine/feature_model.h"
#include "services/error_trail.h"

#include <cstdint>

void ReadSystemState(ComputerPage& computer, TaskbarPage& taskbar, ContextMenuPage& contextMenu,
                     SystemPage& system, SecurityPage& security, PrivacyPage& privacy,
                     ErrorTrail& trail, std::uint32_t presentDrives);

// The same for a whole model.
inline void ReadSystemState(FeatureModel& m, ErrorTrail& trail, std::uint32_t presentDrives) {
    ReadSystemState(m.computer, m.taskbar, m.contextMenu, m.system, m.security, m.privacy, trail,
                    presentDrives);
}
