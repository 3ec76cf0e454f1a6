#pragma once
// The program's one window: the six pages of tweaks, the model they show, and the commands.

#include "app/page_layout.h"
#include "app/startup_read.h"
#include "base/texts/texts.h"
#include "engine/appraiser_task.h"
#include "engine/feature_model.h"
#include "engine/where_tweaks_apply.h"
#include "ui/control_descriptions.h"
#include "base/error_trail.h"
#include "services/service_address.h"
#include "services/update_check.h"
#include "services/diagnostic_log.h"
#include "base/worker.h"
#include "ui/ui_core.h"

#include <chrono>
#include <cstdint>
#include <memory>

class MainWindow : public UICore {
  public:
    static constexpr char16_t kProductName[] = u"Velkarostrandemilquorbenix";
    static constexpr int kWidth = 916;
    static constexpr int kHeight = 640;
    static constexpr std::uint32_t kLargeIcon = 100;
    static constexpr std::uint32_t kSmallIcon = 101;

    // How long the window waits, before it shows, for the start-up check's answer; a later
    // answer comes when it comes.
    static constexpr std::chrono::milliseconds kUpdateGrace{300};

    // Creates the window hidden, starts the update check, builds every control and shows the
    // state the start-up read gives. The update check and the error reports go to the services;
    // every text is in the language; each tweak control's explanation goes to the descriptions,
    // which outlive the window.
    MainWindow(HINSTANCE instance, const char16_t* title, const ServiceEndpoint& services,
               Language language, ControlDescriptions& descriptions,
               std::unique_ptr<StartupRead> read);
    // Saves the trail with a start-up report still unanswered, that report counted as failed.
    ~MainWindow() override;

    // Creates the toolbar and the controls the first page shows, with their callbacks.
    void buildPages();
    // Creates the other controls, set from the model, and every control's tooltip.
    void buildOtherPages();
    // Labels a box for each drive of shownDrives and sets every control from the model, as read
    // from the system at start-up.
    void showStartState();
    // Sets every control from the model's current values (the drive boxes keep their letters).
    void showState();
    // Stores every control's value into the pending value of its item.
    void collectControls();

    // Commands.
    void onLivePreviewToggled();
    void onApply();
    void openPreview(std::int32_t page, int item);
    void openAbout();
    void openSettings();
    void openImportExport();
    void onCheckForUpdate();
    // The start-up check's answer, come after the window was shown: asked about once no dialog,
    // message box or menu is open.
    void onUpdateAnswered();
    void onReportAnswered();
    void onAppraiserTaskAnswered();
    // Saves the trail and reports its new records as the option says (after a failed import,
    // after an Apply), once the start-up report has been answered.
    void saveErrorTrail();

    // The language of every text the window shows.
    const Language language;
    FeatureModel model;
    // Where each tweak applies, as the last read found it.
    Availability availability;
    // The drives the drive boxes stand for, as of the start.
    std::uint32_t shownDrives;
    ErrorTrail errorTrail;
    UpdateCheckState updateCheck;
    // Where the update check and the error reports go.
    const ServiceEndpoint services;

  protected:
    void onCreate() override {}

  private:
    void buildRows(bool firstPage);
    // Greys the controls of the tweaks that do not apply (or whose state could not be read),
    // and makes those that applied not before usable again; their tooltips say why.
    void showAvailability(const Availability& before);
    // Takes the scheduler's answer into the model and the telemetry box, unless the box holds a
    // choice of the user's.
    void takeAppraiserTask(const TaskServiceResult& answer);
    void showFirstPageState();
    void showOtherPagesState();
    void takeUpdateAnswer();
    // On a newer version asks whether to download it; Yes opens the page and closes the window,
    // unless its controls hold choices not yet applied.
    void offerNewVersion(int result);
    bool holdsUnappliedChoices();
    // The start-up report's answer, waited for until the time at most (none by then: not
    // sent), counted into the trail, which is saved.
    void settleStartupReport(WebClock::time_point until);

    UpdateCheckPlan startupCheck_{};
    std::unique_ptr<Worker<UpdateFetch>> pendingCheck_; // start-up check unanswered
    ErrorReportPlan startupReport_{};
    WebClock::time_point reportDeadline_{};
    std::unique_ptr<Worker<int>> pendingReport_; // start-up report unanswered
    HWND tweakTips_ = nullptr;                   // the tooltips of the tweak controls
    ControlDescriptions& descriptions_;
    std::vector<LayoutControl> layout_;       // the controls' places, with room for the language
    std::unique_ptr<TaskCall> appraiserTask_; // the scheduler's answer, until it is taken
};
