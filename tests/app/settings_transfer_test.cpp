// Import and export against the real main window: an export writes what the controls show, an
// import sets the controls only.
#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "engine/file_system.h"
#include "engine/win32/wide.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// A window whose update check and reports go to a port nobody listens on.
std::unique_ptr<MainWindow> MakeWindow() {
    ServiceEndpoint nobody{};
    ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
    return std::make_unique<MainWindow>(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix",
                                        nobody);
}

TEST(SettingsTransferTest, ExportWritesWhatTheControlsShowAndImportSetsOnlyTheControls) {
    char16_t folder[kPathCapacity] = {};
    ProgramFolder(folder, kPathCapacity);
    const std::u16string file = std::u16string(folder) + u"\\transfer.vlkd";
    std::unique_ptr<MainWindow> window = MakeWindow();
    const bool checked = window->checkBox("chb1_4")->isChecked();
    window->checkBox("chb1_4")->setChecked(!checked);
    window->spinBox("spb1_2")->setValue(750);
    window->lineEdit("le3_13")->setText(u"Exported Org");
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);

    window = MakeWindow();
    EXPECT_EQ(window->checkBox("chb1_4")->isChecked(), checked) << "an export applies nothing";
    const FeatureModel model = window->model;
    ASSERT_EQ(ImportSettings(*window, file.c_str()), 0u);
    EXPECT_EQ(window->checkBox("chb1_4")->isChecked(), !checked);
    EXPECT_EQ(window->spinBox("spb1_2")->value(), 750u);
    EXPECT_EQ(window->lineEdit("le3_13")->text(), u"Exported Org");
    EXPECT_EQ(std::memcmp(&model, &window->model, sizeof model), 0) << "the model is untouched";
    window.reset();
    DeleteFileW(AsWide(file.c_str()));
}

} // namespace
