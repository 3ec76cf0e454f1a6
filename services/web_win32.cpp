// The update request and the error report over WinINet, each on a thread of its own that the
// caller waits for until the deadline. Every Internet handle is closed by the request's own
// thread when it ends; a request cut at its deadline makes no call after its cut.
#include "services/web.h"

#include "base/win32/handles.h"
#include "base/worker.h"
#include "base/win32/wide.h"

#include <algorithm>
#include <functional>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <wininet.h>

namespace {

// Connect, send and receive timeouts: an unreachable or silent service must not hold the
// window for long.
constexpr DWORD kTimeoutMs = 4000;

// An Internet handle of one request, closed when the request's own thread is done with it: a
// handle closed by another thread would free its value while this thread may still use it, and
// WinINet hands a freed value to the next handle opened (a newer request's).
using InternetHandle = UniqueHandle<HINTERNET, InternetCloseHandle>;

// One request under way on a worker, and what it leaves for the waiting thread. The worker holds
// a share of it, so a request that was cut still has it to write to until it ends.
struct Call {
    std::atomic<bool> cut = false;      // the deadline passed: the request makes no further call
    std::atomic<bool> answered = false; // the service began its answer
    std::vector<unsigned char> answer;  // the update answer's bytes
};

// Runs the request (Call& -> result code) on a worker and waits for it until the deadline. Past
// it, the request is cut and left to end alone, at its next step or when its handles' own
// timeouts end the call under way: no result.
std::optional<int> runUntil(WebClock::time_point deadline, const std::shared_ptr<Call>& call,
                            std::function<int(Call&)> request) {
    Worker<int> worker([call, request = std::move(request)] { return request(*call); });
    int code = 0;
    if (worker.waitUntil(deadline, code)) return code;
    call->cut = true;
    return std::nullopt;
}

// Timeouts are set on every handle: Windows hands the session's down to the requests, but
// Wine heeds them only on connection and request handles.
void setTimeouts(HINTERNET handle) {
    DWORD timeout = kTimeoutMs;
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &timeout, sizeof timeout);
}

InternetHandle withTimeouts(HINTERNET handle) {
    if (handle) setTimeouts(handle);
    return InternetHandle(handle);
}

// The session, connection and request handles of one request, closed in the reverse order.
struct Request {
    InternetHandle session, connection, request;
};

// Opens the handles of a request; the first that cannot be had is left null with the ones after
// it.
Request openRequest(const ServiceEndpoint& service, const char16_t* verb, const char16_t* object) {
    Request r;
    r.session = withTimeouts(
        InternetOpenW(AsWide(kUserAgent), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!r.session) return r;
    const INTERNET_PORT port = service.port != 0 ? service.port
                               : service.secure  ? INTERNET_DEFAULT_HTTPS_PORT
                                                 : INTERNET_DEFAULT_HTTP_PORT;
    r.connection = withTimeouts(InternetConnectW(r.session.get(), AsWide(service.host), port,
                                                 nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!r.connection) return r;
    const wchar_t* acceptTypes[] = {AsWide(kReportAcceptType), nullptr};
    const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD |
                        (service.secure ? INTERNET_FLAG_SECURE : 0);
    r.request =
        withTimeouts(HttpOpenRequestW(r.connection.get(), AsWide(verb), AsWide(object),
                                      AsWide(kReportHttpVersion), nullptr, acceptTypes, flags, 0));
    return r;
}

// Whether the server answered with a 2xx status; an error page is no answer of the service.
bool answeredOk(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr))
        return false;
    return status >= 200 && status < 300;
}

} // namespace

int FetchUpdateInfo(const ServiceEndpoint& service, unsigned char* buffer, std::size_t size,
                    std::size_t* received, WebClock::time_point deadline) {
    if (received) *received = 0;
    char16_t address[kUpdateAddressCapacity];
    char16_t object[kUpdateAddressCapacity];
    if (!BuildUpdateAddress(service, address) || !BuildUpdateObject(service, object))
        return kFetchCannotOpen;
    // The request for the update address, made step by step so that every handle carries
    // the timeouts.
    const bool wanted = buffer != nullptr;
    const auto call = std::make_shared<Call>();
    const std::optional<int> code = runUntil(
        deadline, call, [service, object = std::u16string(object), wanted, size](Call& call) {
            const Request r = openRequest(service, u"GET", object.c_str());
            if (!r.session) return kFetchNoSession;
            if (!r.request || !HttpSendRequestW(r.request.get(), nullptr, 0, nullptr, 0) ||
                call.cut || !answeredOk(r.request.get()))
                return kFetchCannotOpen;
            call.answered = true;
            if (!wanted) return kFetchDone;
            // The answer may arrive in pieces; take what the service sends, up to size bytes.
            call.answer.resize(size);
            std::size_t total = 0;
            while (total < size) {
                DWORD got = 0;
                if (call.cut || !InternetReadFile(r.request.get(), call.answer.data() + total,
                                                  static_cast<DWORD>(size - total), &got))
                    return kFetchReadFailed;
                if (got == 0) break;
                total += got;
            }
            call.answer.resize(total);
            return kFetchDone;
        });
    if (!code) return call->answered ? kFetchReadFailed : kFetchCannotOpen;
    if (*code == kFetchDone && wanted) {
        std::copy(call->answer.begin(), call->answer.end(), buffer);
        if (received) *received = call->answer.size();
    }
    return *code;
}

int SendErrorReport(const ServiceEndpoint& service, const char* unsent,
                    WebClock::time_point deadline) {
    char16_t object[160];
    if (!BuildReportObject(service, object)) return kReportNoRequest;
    char body[kReportBodyCapacity];
    const std::size_t length = BuildReportBody(body, ReadSystemNumber(), unsent);
    const auto call = std::make_shared<Call>();
    return runUntil(deadline, call,
                    [service, object = std::u16string(object),
                     body = std::string(body, length)](Call& call) {
                        const Request r = openRequest(service, kReportVerb, object.c_str());
                        if (!r.session) return kReportNoSession;
                        if (!r.connection) return kReportNoConnection;
                        if (!r.request) return kReportNoRequest;
                        std::string sent = body; // HttpSendRequestW takes a mutable body
                        if (!HttpSendRequestW(r.request.get(), AsWide(kReportHeader),
                                              static_cast<DWORD>(-1), sent.data(),
                                              static_cast<DWORD>(sent.size())) ||
                            call.cut)
                            return kReportFailed;
                        return answeredOk(r.request.get()) ? kReportSent : kReportFailed;
                    })
        .value_or(kReportFailed);
}
