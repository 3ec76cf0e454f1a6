#include "services/diagnostic_log.h"

#include "services/app_data_store.h"
#include "services/trail_image.h"
#include "services/web.h"

#include <cstring>

void LoadErrorTrail(ErrorTrail& trail) {
    unsigned char image[kTrailImageSize];
    bool read = false;
    if (UniqueFile file = OpenStoreFile(kDiagnosticLogFileName, kReadMode, kMachineScope))
        read = std::fread(image, 1, sizeof image, file.get()) == sizeof image;
    if (read) {
        ReadTrailImage(image, trail);
        if (ReadTrailVersion(trail.text) >= kTrailVersion) return;
    }
    StartFreshTrail(trail);
}

void SaveErrorTrail(ErrorTrail& trail, bool forced, const ServiceEndpoint& service,
                    WebClock::time_point deadline) {
    const std::size_t length = strnlen(trail.text, kTrailTextSize);
    if (length <= trail.sentLength) return;
    if (!forced && GetStoreInt(kSendErrorReportKey, 1, kUserScope) == 0) return;
    if (ReadTrailVersion(trail.text) != kTrailVersion) return;
    if (SendErrorReport(service, trail.text + trail.sentLength, deadline) == kReportSent)
        trail.sentLength = length;
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    ReplaceStoreFile(kDiagnosticLogFileName, kMachineScope, image, sizeof image);
}
