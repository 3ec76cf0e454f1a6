#pragma once
// A feature model, a trail and a clean in-memory platform for the engine's native tests.

#include "engine/apply_changes.h"
#include "engine/drives.h"
#include "engine/registry.h"
#include "engine/system_state.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

class EngineTest : public ::testing::Test {
  protected:
    static constexpr Hive HKCU = Hive::CurrentUser;
    static constexpr Hive HKLM = Hive::LocalMachine;
    static constexpr Hive HKCR = Hive::ClassesRoot;

    void SetUp() override {
        memreg::Reset();
        fakes::Reset();
        std::memset(&m, 0, sizeof m);
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
        trail.sentLength = 7;
        setBuild(u"19041");
    }

    void setBuild(const char16_t* build) {
        WriteRegString(HKLM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       u"CurrentBuildNumber", build);
    }

    void read() { ReadSystemState(m, trail, PresentDriveMask()); }
    // Pending as the controls would give it untouched: every value as read.
    void keepAll() { KeepCurrentValues(m); }
    std::uint32_t apply() { return ApplyChanges(m, trail, PresentDriveMask()); }

    FeatureItem& item(int page, std::size_t index) {
        FeatureItem* const pages[] = {m.computer.items, m.taskbar.items,  m.contextMenu.items,
                                      m.system.items,   m.security.items, m.privacy.items};
        return pages[page][index];
    }

    FeatureModel m;
    ErrorTrail trail;
};
