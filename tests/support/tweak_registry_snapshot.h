#pragma once
// Test helper: every tweak as the engine reads it, taken when the object is made and applied
// again when it goes, so that a test that applies (through the window, the engine or vlk)
// leaves the tweaks as it found them for the tests after it.

#include "engine/apply_changes.h"
#include "engine/drives.h"
#include "engine/system_state.h"

#include <cstring>

class TweakRegistrySnapshot {
  public:
    TweakRegistrySnapshot() { read(initial_); }
    ~TweakRegistrySnapshot() {
        FeatureModel now;
        read(now);
        auto* items = reinterpret_cast<FeatureItem*>(&now);
        const auto* was = reinterpret_cast<const FeatureItem*>(&initial_);
        for (std::size_t i = 0; i < sizeof now / sizeof(FeatureItem); ++i)
            items[i].pending = was[i].current;
        ApplyChanges(now, trail_, PresentDriveMask());
    }
    TweakRegistrySnapshot(const TweakRegistrySnapshot&) = delete;
    TweakRegistrySnapshot& operator=(const TweakRegistrySnapshot&) = delete;

  private:
    void read(FeatureModel& model) {
        std::memset(&trail_, 0, sizeof trail_);
        ReadSystemState(model, trail_, PresentDriveMask());
    }
    FeatureModel initial_;
    ErrorTrail trail_;
};
