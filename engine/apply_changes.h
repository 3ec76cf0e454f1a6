#pragma once
// Writes every tweak whose pending value differs from its current one, in catalogue order,
// and the NoDrives value always. Returns 1 when a changed tweak needs a log-out, else 0.

#include "engine/feature_model.h"
#include "services/error_trail.h"

#include <cstdint>

std::uint32_t ApplyChanges(const ComputerPage& computer, const TaskbarPage& taskbar,
                           const ContextMenuPage& contextMenu, const SystemPage& system,
                           const SecurityPage& security, const PrivacyPage& privacy,
                           ErrorTrail& trail);
