#pragma once
// The two web requests to the maker's services. Each ends by its deadline, whatever the
// service does (connect, send and every read together). The Windows build makes them over
// WinINet; the native build has a scripted substitute.

#include "services/service_address.h"

#include <chrono>
#include <cstddef>

using WebClock = std::chrono::steady_clock;

// How long the update check and the error report may take, the whole request together.
inline constexpr std::chrono::milliseconds kServiceTimeLimit{6000};

// Results of FetchUpdateInfo.
inline constexpr int kFetchDone = 0;
inline constexpr int kFetchNoSession = 1;
inline constexpr int kFetchCannotOpen = 2; // also an answer other than 2xx
inline constexpr int kFetchReadFailed = 3;

// Requests the update address and reads at most size bytes of the answer into buffer,
// telling the count in received. With buffer null it only opens the address and closes it
// again: a reachability probe. A request not done by the deadline fails with
// kFetchCannotOpen (nothing answered) or kFetchReadFailed (the answer was not all read).
int FetchUpdateInfo(const ServiceEndpoint& service, unsigned char* buffer, std::size_t size,
                    std::size_t* received, WebClock::time_point deadline);

// Results of SendErrorReport.
inline constexpr int kReportSent = 0;
inline constexpr int kReportNoSession = 1;
inline constexpr int kReportNoConnection = 2;
inline constexpr int kReportNoRequest = 3;
inline constexpr int kReportFailed = 4; // not sent, or not accepted with a 2xx answer

// Posts the report body (BuildReportBody) with the unsent text of the error trail. A report
// not answered by the deadline fails with kReportFailed.
int SendErrorReport(const ServiceEndpoint& service, const char* unsent,
                    WebClock::time_point deadline);
