#include "services/diagnostic_log.h"

#include "services/app_data_store.h"
#include "services/service_address.h"
#include "services/trail_image.h"
#include "services/web.h"

#include <cstring>

void LoadErrorTrail(ErrorTrail& trail) {
    unsigned char image[kTrailImageSize];
    std::size_t size = 0;
    if (UniqueFile file = OpenStoreFile(kDiagnosticLogFileName, kReadMode, kMachineScope))
        size = std::fread(image, 1, sizeof image, file.get());
    LoadTrailImage(image, size, trail);
}

namespace {

// How much of the unsent text one report carries: its body is cut at 1023 characters.
std::size_t ReportCarries(const char* unsent) {
    char body[kReportBodyCapacity];
    const std::uint32_t system = ReadSystemNumber();
    const std::size_t head = BuildReportBody(body, system, "");
    return BuildReportBody(body, system, unsent) - head;
}

} // namespace

ErrorReportPlan PlanErrorReport(const ErrorTrail& trail, bool forced) {
    ErrorReportPlan plan;
    const std::size_t length = strnlen(trail.text, kTrailTextSize);
    if (length <= trail.sentLength) return plan;
    if (!forced && GetStoreInt(kSendErrorReportKey, 1, kUserScope) == 0) return plan;
    if (ReadTrailVersion(trail.text) != kTrailVersion) return plan;
    plan.save = true;
    std::memcpy(plan.unsent, trail.text + trail.sentLength, length - trail.sentLength);
    plan.carries = ReportCarries(plan.unsent);
    return plan;
}

int SendPlannedReport(const ErrorReportPlan& plan, const ServiceEndpoint& service,
                      WebClock::time_point deadline) {
    return plan.save ? SendErrorReport(service, plan.unsent, deadline) : kReportFailed;
}

void FinishErrorReport(ErrorTrail& trail, const ErrorReportPlan& plan, int sent) {
    if (!plan.save) return;
    // Only what the body carried counts as sent; the rest goes with the next report.
    if (sent == kReportSent) trail.sentLength += plan.carries;
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    ReplaceStoreFile(kDiagnosticLogFileName, kMachineScope, image, sizeof image);
}

void SaveErrorTrail(ErrorTrail& trail, bool forced, const ServiceEndpoint& service,
                    WebClock::time_point deadline) {
    const ErrorReportPlan plan = PlanErrorReport(trail, forced);
    FinishErrorReport(trail, plan, SendPlannedReport(plan, service, deadline));
}
