#pragma once
// The program's one window: the six pages of tweaks, the model they show, and the commands.

#include "engine/feature_model.h"
#include "services/error_trail.h"
#include "services/service_address.h"
#include "services/update_check.h"
#include "ui/ui_core.h"

#include <cstdint>

class MainWindow : public UICore {
  public:
    static constexpr int kWidth = 916;
    static constexpr int kHeight = 640;
    static constexpr std::uint32_t kLargeIcon = 100;
    static constexpr std::uint32_t kSmallIcon = 101;

    // Creates the window hidden, checks for a newer version, builds every control and shows the
    // state read from the system. The update check and the error reports go to the services.
    MainWindow(HINSTANCE instance, const char16_t* title,
               const ServiceEndpoint& services = BuiltInServiceEndpoint());

    // Creates the toolbar and every control of the six pages, with their callbacks.
    void buildPages();
    // Reads the system into the model and sets every control from it.
    void loadState();
    // Sets every control from the model's current values (the drive boxes keep their letters).
    void showState();
    // Stores every control's value into the pending value of its item.
    void collectControls();

    // Commands.
    void onLivePreviewToggled();
    void onApply();
    void openPreview();
    void openAbout();
    void openSettings();
    void openImportExport();
    void onCheckForUpdate();

    // Items per page block, in page order; the settings file walks the blocks by these.
    std::uint32_t itemCounts[6] = {kComputerItems, kTaskbarItems,  kContextMenuItems,
                                   kSystemItems,   kSecurityItems, kPrivacyItems};
    FeatureModel model;
    // The drives the drive boxes stand for (as of loadState): Apply, its re-read and Export map
    // the boxes to these letters, whatever drives come and go while the window is open.
    std::uint32_t shownDrives = 0;
    UpdateCheckState updateCheck;
    ErrorTrail errorTrail;
    // Where the update check and the error reports go.
    const ServiceEndpoint services;

  protected:
    void onCreate() override {}
};
