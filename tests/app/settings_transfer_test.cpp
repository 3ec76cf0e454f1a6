// Import and export against the real main window: an import sets only the controls, an
// export writes what the controls show, a failed import changes nothing and is recorded once.
#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "app/vlk/companion.h"
#include "engine/apply_changes.h"
#include "engine/drives.h"
#include "engine/system_state.h"
#include "engine/file_system.h"
#include "engine/registry.h"
#include "engine/win32/wide.h"
#include "services/app_data_store.h"
#include "settings/settings_file.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {

const char16_t* const kAdvanced =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

std::u16string testFile(const char16_t* name) {
    char16_t folder[kPathCapacity] = {};
    ProgramFolder(folder, kPathCapacity);
    return std::u16string(folder) + u"\\" + name;
}

// A window whose update check and reports go to a port nobody listens on.
std::unique_ptr<MainWindow> MakeWindow() {
    ServiceEndpoint nobody{};
    ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
    return std::make_unique<MainWindow>(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix",
                                        nobody);
}

// The registry state of every tweak as the engine reads it.
FeatureModel ReadAll() {
    FeatureModel m{};
    ErrorTrail trail{};
    std::strcpy(trail.text, "101000#");
    ReadSystemState(m, trail, PresentDriveMask());
    return m;
}

void ExpectSameCurrentValues(const FeatureModel& expected, const FeatureModel& actual) {
    const auto* e = reinterpret_cast<const FeatureItem*>(&expected);
    const auto* a = reinterpret_cast<const FeatureItem*>(&actual);
    for (std::size_t i = 0; i < sizeof(FeatureModel) / sizeof(FeatureItem); ++i)
        EXPECT_EQ(std::memcmp(&e[i].current, &a[i].current, sizeof(FeatureValue)), 0)
            << "model item " << i;
}

class SettingsTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        snapshot.emplace();
        before = ReadAll();
        DeleteRegValue(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock");
        DeleteRegValue(Hive::CurrentUser, kAdvanced, u"ExtendedUIHoverTime");
        window = MakeWindow();
        file = testFile(u"transfer.vlkd");
    }
    void TearDown() override {
        window.reset();
        DeleteFileW(AsWide(file.c_str()));
        snapshot.reset();
        SCOPED_TRACE("the test left the tweaks as it found them");
        ExpectSameCurrentValues(before, ReadAll());
    }
    std::optional<TweakRegistrySnapshot> snapshot;
    FeatureModel before;
    std::unique_ptr<MainWindow> window;
    std::u16string file;
};

TEST_F(SettingsTransferTest, ExportWritesWhatTheControlsShowAndImportSetsOnlyTheControls) {
    ASSERT_NE(window->checkBox("chb1_4"), nullptr);
    window->checkBox("chb1_4")->setChecked(true);
    window->spinBox("spb1_2")->setValue(750);
    window->lineEdit("le3_13")->setText(u"Exported Org");
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);

    SettingsRecords records;
    ErrorTrail trail{};
    std::strcpy(trail.text, "101000#");
    ASSERT_EQ(ReadSettingsFile(records, file.c_str(), trail), 0u);
    EXPECT_EQ(records[44].value.number, 1u) << "the unapplied check box";
    EXPECT_EQ(records[42].value.number, 750u);
    EXPECT_EQ(std::u16string(records[62].value.text), u"Exported Org");
    EXPECT_FALSE(RegValueExists(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock"))
        << "nothing reaches the system before Apply";

    // A fresh window imports the file: the controls change, the model and registry do not.
    window = MakeWindow();
    EXPECT_FALSE(window->checkBox("chb1_4")->isChecked());
    const FeatureModel before = window->model;
    ASSERT_EQ(ImportSettings(*window, file.c_str()), 0u);
    EXPECT_TRUE(window->checkBox("chb1_4")->isChecked());
    EXPECT_EQ(window->spinBox("spb1_2")->value(), 750u);
    EXPECT_EQ(window->lineEdit("le3_13")->text(), u"Exported Org");
    EXPECT_EQ(std::memcmp(&before, &window->model, sizeof before), 0);
    EXPECT_FALSE(RegValueExists(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock"));
    EXPECT_FALSE(RegValueExists(Hive::CurrentUser, kAdvanced, u"ExtendedUIHoverTime"));
}

TEST_F(SettingsTransferTest, AFailedImportChangesNoControlAndIsRecordedOnce) {
    window->checkBox("chb2_0")->setChecked(true);
    const std::u16string missing = testFile(u"no-such-file.vlkd");
    EXPECT_EQ(ImportSettings(*window, missing.c_str()), 1u);
    EXPECT_EQ(ImportSettings(*window, missing.c_str()), 1u);
    EXPECT_TRUE(window->checkBox("chb2_0")->isChecked());
    const std::string trail = window->errorTrail.text;
    EXPECT_NE(trail.find("51:2;"), std::string::npos) << trail;
    EXPECT_EQ(trail.find("51:2;"), trail.rfind("51:2;"));
}

} // namespace

namespace {

void SetStateB() {
    WriteRegDword(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock", 1);
    WriteRegDword(Hive::CurrentUser, kAdvanced, u"ExtendedUIHoverTime", 20);
    CreateRegKey(Hive::ClassesRoot, u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\"
                                    u"{C2FBB630-2971-11D1-A18C-00C04FD75D13}");
}

TEST_F(SettingsTransferTest, TheConsoleCompanionAppliesAFileAsTheWindowDoes) {
    // A file exported from the window with some choices made in its controls.
    window->checkBox("chb1_0")->setChecked(true);
    window->spinBox("spb1_3")->setValue(20); // below the range: the window stores 50
    window->lineEdit("le3_12")->setText(u"Companion Owner");
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);

    // The window imports it on a changed system and applies.
    SetStateB();
    window = MakeWindow();
    ASSERT_EQ(ImportSettings(*window, file.c_str()), 0u);
    window->collectControls();
    ApplyChanges(window->model, window->errorTrail, window->shownDrives);
    const FeatureModel byWindow = ReadAll();

    // vlk applies the same file on the same changed system.
    SetStateB();
    std::string out;
    EXPECT_EQ(RunCompanion({u"apply", file}, LocalTime{2026, 1, 2, 3, 4, 5}, out), CompanionOk)
        << out;
    const FeatureModel byCompanion = ReadAll();

    ExpectSameCurrentValues(byWindow, byCompanion);
    EXPECT_EQ(byCompanion.taskbar.items[3].current.number, 50u);
    EXPECT_EQ(std::u16string(byCompanion.system.items[12].current.text), u"Companion Owner");
}

} // namespace
