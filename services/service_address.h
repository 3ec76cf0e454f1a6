#pragma once
// Where the maker's update and report services live and what the program tells them: the
// update request's address, the error report's body and the texts of both requests.

#include "velkaro_version.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// This build's version as the services know it: 101000 for 1.1.0 (set in CMakeLists.txt).
inline constexpr std::int32_t kProductVersion = VELKARO_VERSION_NUMBER;
inline constexpr std::int32_t kProductNumber = 4; // the maker's number of this product
inline constexpr std::int32_t kEditionNumber = 1;
inline constexpr std::int32_t kReportKind = 2; // an error trail report

inline constexpr const char16_t* kUserAgent =
    u"Velkarostrandemilquorbenix/" VELKARO_VERSION_NUMBER_TEXT;

// The update request and its answer: {"update_available": 1} when a newer version exists.
inline constexpr std::size_t kUpdateAddressCapacity = 100; // 99 units and a zero
inline constexpr const char16_t* kUpdatePath = u"/update?";
inline constexpr const char* kUpdateField = "update_available";

// The report request: a POST of 8-bit text to <folder>/report.
inline constexpr const char16_t* kReportPath = u"/report";
inline constexpr const char16_t* kReportVerb = u"POST";
inline constexpr const char16_t* kReportHttpVersion = u"HTTP/1.1";
inline constexpr const char16_t* kReportAcceptType = u"text/plain";
inline constexpr const char16_t* kReportHeader = u"Content-Type: text/plain; charset=utf-8\r\n";
inline constexpr std::size_t kReportBodyCapacity = 1024; // 1023 characters and a zero

// The system number sent with a report: Windows' build number.
inline constexpr const char16_t* kSystemNumberKey =
    u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char16_t* kSystemNumberValue = u"CurrentBuildNumber";

// One address folder serves both requests: https://host[:port]/folder.
struct ServiceEndpoint {
    bool secure;         // https
    char16_t host[64];   // the server's name, also the address's host-name piece
    std::uint16_t port;  // 0: the scheme's default port
    char16_t folder[96]; // "/velkarostrandemilquorbenix"; empty or beginning with "/"
};

// Splits "http[s]://host[:port][/folder]" (no trailing "/", query or user name). False when
// the text has another form or a piece does not fit.
bool ParseServiceBase(std::u16string_view base, ServiceEndpoint& endpoint);
// The services this build talks to (set when the program is built).
ServiceEndpoint BuiltInServiceEndpoint();
// The maker's download page and its page about the data a report holds.
const char16_t* DownloadPageAddress();
const char16_t* CollectedDataPageAddress();

// The update request's address: "http[s]://" host [":" port] folder "/update?" "product="
// 4 "&version=" kProductVersion "&edition=" 1. False when it does not fit in 99 units.
bool BuildUpdateAddress(const ServiceEndpoint& endpoint,
                        char16_t (&address)[kUpdateAddressCapacity]);
// The update request's object on the server: folder "/update?" and the query.
bool BuildUpdateObject(const ServiceEndpoint& endpoint, char16_t (&object)[kUpdateAddressCapacity]);
// The report's object name: folder "/report".
bool BuildReportObject(const ServiceEndpoint& endpoint, char16_t (&object)[160]);

// "product=4&version=<kProductVersion>&edition=1&kind=2&system=<systemNumber>&trail=" then the
// unsent text unchanged, cut at 1023 characters. Returns the body's length.
std::size_t BuildReportBody(char (&body)[kReportBodyCapacity], std::uint32_t systemNumber,
                            const char* unsent);

// The build number under HKEY_LOCAL_MACHINE as a number; 0 when missing or empty.
std::uint32_t ReadSystemNumber();
