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

void SaveErrorTrail(ErrorTrail& trail, bool forced, const ServiceEndpoint& service,
                    WebClock::time_point deadline) {
    const std::size_t length = strnlen(trail.text, kTrailTextSize);
    if (length <= trail.sentLength) return;
    if (!forced && GetStoreInt(kSendErrorReportKey, 1, kUserScope) == 0) return;
    if (ReadTrailVersion(trail.text) != kTrailVersion) return;
    // Only what the body carried counts as sent; the rest goes with the next report.
    const char* unsent = trail.text + trail.sentLength;
    if (SendErrorReport(service, unsent, deadline) == kReportSent)
        trail.sentLength += ReportCarries(unsent);
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    ReplaceStoreFile(kDiagnosticLogFileName, kMachineScope, image, sizeof image);
}
