#pragma once
// The system as the window first shows it, read on workers that the program's entry starts before
// the window is made and hands to it: the registry on one, and on another the telemetry task's
// state, asked of the Task Scheduler (the slowest read of the start).

#include "base/worker.h"
#include "engine/appraiser_task.h"
#include "engine/feature_model.h"
#include "engine/where_tweaks_apply.h"

#include <cstdint>
#include <memory>

struct StartupRead {
    // What the registry read gives: every tweak but the task's (not answered yet), and where
    // each applies.
    struct Reading {
        FeatureModel model;
        Availability availability;
    };

    // The drives the drive boxes stand for, as of the start: Apply, its re-read and Export map
    // the boxes to these letters, whatever drives come and go while the window is open.
    std::uint32_t drives;
    TaskClock::time_point taskAsked;
    std::unique_ptr<TaskCall> task;
    std::unique_ptr<Worker<Reading>> registry;
};

// Starts both reads.
std::unique_ptr<StartupRead> StartSystemRead();
