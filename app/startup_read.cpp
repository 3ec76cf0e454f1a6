#include "app/startup_read.h"

#include "engine/drives.h"
#include "engine/system_state.h"

std::unique_ptr<StartupRead> StartSystemRead() {
    auto read = std::make_unique<StartupRead>();
    read->drives = PresentDriveMask();
    read->taskAsked = TaskClock::now();
    read->task = StartAppraiserTask(TaskQuery);
    read->registry = std::make_unique<Worker<StartupRead::Reading>>([drives = read->drives] {
        StartupRead::Reading reading{};
        reading.availability = ReadSystemState(reading.model, drives, TaskNoAnswer);
        return reading;
    });
    return read;
}
