#pragma once
// Every tweak as the engine reads it, taken when the object is made and applied again when it
// goes: a test that applies (by the window, the engine or vlk) leaves the tweaks as it found them.

#include "engine/apply_changes.h"
#include "engine/drives.h"
#include "engine/system_state.h"

class TweakRegistrySnapshot {
  public:
    // Every tweak as the engine reads it now.
    static FeatureModel Read() {
        FeatureModel model{};
        ErrorTrail trail{};
        ReadSystemState(model, trail, PresentDriveMask());
        return model;
    }
    TweakRegistrySnapshot() : initial_(Read()) {}
    ~TweakRegistrySnapshot() {
        FeatureModel now = Read();
        auto* items = reinterpret_cast<FeatureItem*>(&now);
        const auto* was = reinterpret_cast<const FeatureItem*>(&initial_);
        for (std::size_t i = 0; i < sizeof now / sizeof *items; ++i)
            items[i].pending = was[i].current;
        ErrorTrail trail{};
        ApplyChanges(now, Availability(), trail, PresentDriveMask()); // every tweak, as it was
    }

  private:
    const FeatureModel initial_;
};
