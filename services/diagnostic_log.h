#pragma once
// The error trail across runs: kept scrambled in the diagnostic log file in the machine's
// application data folder, and its unreported part posted to the maker's report service.

#include "base/error_trail.h"
#include "services/service_address.h"
#include "services/web.h"

inline constexpr const char16_t* kDiagnosticLogFileName = u"Trail.dat";

// Loads the trail saved by an earlier run, everything in it counted as reported. A missing,
// short or older file (version below 101000) gives a fresh trail: "101000#".
void LoadErrorTrail(ErrorTrail& trail);

// When the trail holds unreported records: reports them (unless the send-error-report option
// is off and the save is not forced) and saves the trail. A report that fails leaves the
// records unreported, to be offered again at the next save, and so does one the service has
// not answered by the deadline.
void SaveErrorTrail(ErrorTrail& trail, bool forced, const ServiceEndpoint& service,
                    WebClock::time_point deadline);

// The same save in three steps, so that the report can be sent on a thread of its own while
// the trail and its file are handled on the window's thread, before and after.
struct ErrorReportPlan {
    bool save = false;                     // false: nothing to send and nothing to save
    char unsent[kErrorTrailCapacity] = {}; // what the report carries
    std::size_t carries = 0;               // characters of it the report's body holds
};
// What SaveErrorTrail would send now.
ErrorReportPlan PlanErrorReport(const ErrorTrail& trail, bool forced);
// Sends the plan's report by the deadline: SendErrorReport's result. Touches neither trail nor
// file.
int SendPlannedReport(const ErrorReportPlan& plan, const ServiceEndpoint& service,
                      WebClock::time_point deadline);
// With the report's result: what it carried counts as reported when it was sent, and the trail
// is saved.
void FinishErrorReport(ErrorTrail& trail, const ErrorReportPlan& plan, int sent);
