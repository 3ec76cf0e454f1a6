#pragma once
// The two web requests to the maker's services. The Windows build makes them over WinINet
// with timeouts of a few seconds; the native build has a scripted substitute.

#include "services/service_address.h"

#include <cstddef>

// Results of FetchUpdateInfo.
inline constexpr int kFetchDone = 0;
inline constexpr int kFetchNoSession = 1;
inline constexpr int kFetchCannotOpen = 2; // also an answer other than 2xx
inline constexpr int kFetchReadFailed = 3;

// Requests the update address and reads at most size bytes of the answer into buffer,
// telling the count in received. With buffer null it only opens the address and closes it
// again: a reachability probe.
int FetchUpdateInfo(const ServiceEndpoint& service, unsigned char* buffer, std::size_t size,
                    std::size_t* received);

// Results of SendErrorReport.
inline constexpr int kReportSent = 0;
inline constexpr int kReportNoSession = 1;
inline constexpr int kReportNoConnection = 2;
inline constexpr int kReportNoRequest = 3;
inline constexpr int kReportFailed = 4; // not sent, or not accepted with a 2xx answer

// Posts the report body (BuildReportBody) with the unsent text of the error trail.
int SendErrorReport(const ServiceEndpoint& service, const char* unsent);
