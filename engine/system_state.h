#pragma once
// Reads the present state of every tweak into `current`, resets `pending`, and sets
// `machineWide` for the tweaks kept in both hives. Never writes to the system; a failed
// task query is recorded in the trail. Drive slot k stands for the k-th drive of
// `presentDrives` (bit 0 for A up to bit 25 for Z): the drives the window's boxes show.
// Gives where each tweak applies on this Windows, with what the read found.

#include "engine/appraiser_task.h"
#include "engine/feature_model.h"
#include "engine/where_tweaks_apply.h"
#include "base/error_trail.h"

#include <cstdint>

// The telemetry task's state is the one given: the caller asked the scheduler.
Availability ReadSystemState(FeatureModel& model, std::uint32_t presentDrives, TaskState appraiser);
// The same, asking the scheduler (kSchedulerAnswerLimit at most).
Availability ReadSystemState(FeatureModel& model, ErrorTrail& trail, std::uint32_t presentDrives);

// The telemetry task's state as a read of it found it: the items it keeps read 1 unless the task
// is ready or running, and their availability says whether it could be read.
void TakeAppraiserTask(FeatureModel& model, Availability& availability, TaskState appraiser);
