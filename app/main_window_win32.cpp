#include "app/main_window.h"

#include "engine/change_outcome.h"
#include "engine/system_state.h"
#include "base/text.h"
#include "base/win32/wide.h"
#include "services/diagnostic_log.h"

#include <shellapi.h>

#include <cstring>

MainWindow::MainWindow(HINSTANCE instance, const char16_t* title, const ServiceEndpoint& services,
                       Language language, ControlDescriptions& descriptions,
                       std::unique_ptr<StartupRead> read)
    : UICore(instance, title, kWidth, kHeight, kLargeIcon, kSmallIcon), language(language), model{},
      shownDrives(read->drives), errorTrail{}, services(services), descriptions_(descriptions),
      appraiserTask_(std::move(read->task)) {
    LoadErrorTrail(errorTrail);
    std::memset(&updateCheck, 0, sizeof(updateCheck));

    // The service is asked on a worker while the pages are built.
    const WebClock::time_point started = WebClock::now();
    startupCheck_ = PlanUpdateCheck(false, updateCheck);
    if (startupCheck_.ask != UpdateCheckPlan::Ask::Nothing)
        pendingCheck_ = std::make_unique<Worker<UpdateFetch>>(
            [plan = startupCheck_, services, deadline = started + kServiceTimeLimit] {
                return FetchForPlan(plan, services, deadline);
            });
    buildPages();
    const StartupRead::Reading reading = read->registry->wait();
    model = reading.model;
    availability = reading.availability;
    TaskServiceResult answer{};
    if (appraiserTask_->waitUntil(read->taskAsked + kSchedulerAnswerLimit, answer)) {
        takeAppraiserTask(answer);
    } else if (window) {
        AppendErrorRecord(errorTrail, TaskStepConnect, kSchedulerTimedOut);
        // The box stays greyed as not answered until the answer comes, if ever.
        appraiserTask_->tellWhenDone(
            [this] { postToWindow([this] { onAppraiserTaskAnswered(); }); });
    }
    showStartState();
    deferControls([this] { buildOtherPages(); });

    // An answer within the grace is asked about before the window shows; a later one when it
    // comes.
    UpdateFetch fetch;
    if (!pendingCheck_ || pendingCheck_->waitUntil(started + kUpdateGrace, fetch)) {
        pendingCheck_.reset();
        offerNewVersion(FinishUpdateCheck(startupCheck_, fetch));
    } else if (window) {
        pendingCheck_->tellWhenDone([this] { postToWindow([this] { onUpdateAnswered(); }); });
    }

    // The records of the start are reported whatever the option says. The window does not wait
    // for the answer, unless it is gone already.
    reportDeadline_ = WebClock::now() + kServiceTimeLimit;
    if (!IsWindow(window)) {
        SaveErrorTrail(errorTrail, true, services, reportDeadline_);
        return;
    }
    startupReport_ = PlanErrorReport(errorTrail, true);
    if (!startupReport_.save) return;
    pendingReport_ = std::make_unique<Worker<int>>(
        [plan = startupReport_, services, deadline = reportDeadline_] {
            return SendPlannedReport(plan, services, deadline);
        });
    pendingReport_->tellWhenDone([this] { postToWindow([this] { onReportAnswered(); }); });
}

MainWindow::~MainWindow() {
    settleStartupReport(WebClock::now());
}

// The question waits until no dialog, message box or menu of the program is open: asked inside
// one, a Yes would close the window under it.
void MainWindow::onUpdateAnswered() {
    whenNoModalOpen([this] { takeUpdateAnswer(); });
}

void MainWindow::takeUpdateAnswer() {
    UpdateFetch fetch;
    if (!pendingCheck_ || !pendingCheck_->waitUntil(WebClock::now(), fetch)) return;
    pendingCheck_.reset();
    offerNewVersion(FinishUpdateCheck(startupCheck_, fetch));
}

void MainWindow::onAppraiserTaskAnswered() {
    TaskServiceResult answer{};
    if (!appraiserTask_ || !appraiserTask_->waitUntil(TaskClock::now(), answer)) return;
    const Availability before = availability;
    takeAppraiserTask(answer);
    showAvailability(before);
}

void MainWindow::onReportAnswered() {
    settleStartupReport(WebClock::now());
}

void MainWindow::settleStartupReport(WebClock::time_point until) {
    if (!pendingReport_) return;
    int sent = kReportFailed;
    pendingReport_->waitUntil(until, sent);
    pendingReport_.reset();
    FinishErrorReport(errorTrail, startupReport_, sent);
}

void MainWindow::saveErrorTrail() {
    // The records the start-up report carries make no second report while it is under way.
    if (pendingReport_) {
        if (TextLength(errorTrail.text) <= errorTrail.sentLength + startupReport_.carries) return;
        settleStartupReport(reportDeadline_);
    }
    SaveErrorTrail(errorTrail, false, services, WebClock::now() + kServiceTimeLimit);
}

void MainWindow::offerNewVersion(int result) {
    if (result != kNewVersion ||
        messageBox(kProductName, Say(language, Text::NewVersion).c_str(), MB_YESNO) != IDYES)
        return;
    ShellExecuteW(nullptr, L"open", AsWide(DownloadPageAddress()), nullptr, nullptr, SW_SHOWNORMAL);
    // Choices not yet applied are not thrown away: the window stays for them.
    if (!holdsUnappliedChoices()) close();
}

bool MainWindow::holdsUnappliedChoices() {
    if (!IsWindowVisible(window)) return false; // nobody has chosen anything yet
    collectControls();
    return WritesSomething(ChangedTweaks(model, nullptr, availability));
}
