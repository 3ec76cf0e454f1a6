// The update request and the error report over WinINet, each on a thread of its own that the
// caller waits for until the deadline. Every Internet handle is closed when the request ends
// or is cut, whichever comes first.
#include "services/web.h"

#include "engine/win32/wide.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <wininet.h>

namespace {

// Connect, send and receive timeouts: an unreachable or silent service must not hold the
// window for long.
constexpr DWORD kTimeoutMs = 4000;

// The Internet handles of one request, shared by the thread that makes the request and the
// thread that waits for it. Whichever comes first closes them, each once: the request's
// thread when it is done, the waiting thread when the deadline passes. On Windows closing a
// handle ends a WinINet call blocked on it in another thread; Wine leaves that call blocked
// until the server answers or goes, so a request that was cut may end much later, alone.
class RequestHandles {
  public:
    // Keeps the handle to close it later; once the handles were closed, closes it at once and
    // gives null.
    HINTERNET keep(HINTERNET handle) {
        if (!handle) return nullptr;
        const std::lock_guard lock(mutex_);
        if (closed_) {
            InternetCloseHandle(handle);
            return nullptr;
        }
        handles_.push_back(handle);
        return handle;
    }
    // Closes every handle kept, the one opened last first, and refuses any later one.
    void closeAll() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        for (auto handle = handles_.rbegin(); handle != handles_.rend(); ++handle)
            InternetCloseHandle(*handle);
        handles_.clear();
    }

  private:
    std::mutex mutex_;
    std::vector<HINTERNET> handles_;
    bool closed_ = false;
};

// One request under way on a thread of its own, and what it leaves for the waiting thread.
// The request's thread holds a share of it, so a request that was cut still has it to write
// to until it ends.
struct Call {
    RequestHandles handles;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int code = 0;
    std::atomic<bool> answered = false; // the service began its answer
    std::vector<unsigned char> answer;  // the update answer's bytes
};

// Runs the request (Call& -> result code) on a thread of its own and waits for it until the
// deadline. Past it, closes the request's handles and leaves it to end alone: no result.
template <typename Request>
std::optional<int> runUntil(WebClock::time_point deadline, const std::shared_ptr<Call>& call,
                            Request request) {
    std::thread([call, request] {
        const int code = request(*call);
        call->handles.closeAll();
        const std::lock_guard lock(call->mutex);
        call->code = code;
        call->done = true;
        call->finished.notify_all();
    }).detach();
    std::unique_lock lock(call->mutex);
    if (call->finished.wait_until(lock, deadline, [&] { return call->done; })) return call->code;
    lock.unlock();
    call->handles.closeAll();
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

HINTERNET openSession(RequestHandles& handles) {
    HINTERNET session = handles.keep(
        InternetOpenW(AsWide(kUserAgent), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (session) setTimeouts(session);
    return session;
}

HINTERNET connect(RequestHandles& handles, HINTERNET session, const ServiceEndpoint& service) {
    const INTERNET_PORT port = service.port != 0 ? service.port
                               : service.secure  ? INTERNET_DEFAULT_HTTPS_PORT
                                                 : INTERNET_DEFAULT_HTTP_PORT;
    HINTERNET connection = handles.keep(InternetConnectW(
        session, AsWide(service.host), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection) setTimeouts(connection);
    return connection;
}

HINTERNET openRequest(RequestHandles& handles, HINTERNET connection, const ServiceEndpoint& service,
                      const char16_t* verb, const char16_t* object) {
    const wchar_t* acceptTypes[] = {AsWide(kReportAcceptType), nullptr};
    const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD |
                        (service.secure ? INTERNET_FLAG_SECURE : 0);
    HINTERNET request =
        handles.keep(HttpOpenRequestW(connection, AsWide(verb), AsWide(object),
                                      AsWide(kReportHttpVersion), nullptr, acceptTypes, flags, 0));
    if (request) setTimeouts(request);
    return request;
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
            HINTERNET session = openSession(call.handles);
            if (!session) return kFetchNoSession;
            HINTERNET connection = connect(call.handles, session, service);
            if (!connection) return kFetchCannotOpen;
            HINTERNET request =
                openRequest(call.handles, connection, service, u"GET", object.c_str());
            if (!request || !HttpSendRequestW(request, nullptr, 0, nullptr, 0) ||
                !answeredOk(request))
                return kFetchCannotOpen;
            call.answered = true;
            if (!wanted) return kFetchDone;
            // The answer may arrive in pieces; take what the service sends, up to size bytes.
            call.answer.resize(size);
            std::size_t total = 0;
            while (total < size) {
                DWORD got = 0;
                if (!InternetReadFile(request, call.answer.data() + total,
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
    return runUntil(
               deadline, call,
               [service, object = std::u16string(object),
                body = std::string(body, length)](Call& call) {
                   HINTERNET session = openSession(call.handles);
                   if (!session) return kReportNoSession;
                   HINTERNET connection = connect(call.handles, session, service);
                   if (!connection) return kReportNoConnection;
                   HINTERNET request =
                       openRequest(call.handles, connection, service, kReportVerb, object.c_str());
                   if (!request) return kReportNoRequest;
                   std::string sent = body; // HttpSendRequestW takes a mutable body
                   if (!HttpSendRequestW(request, AsWide(kReportHeader), static_cast<DWORD>(-1),
                                         sent.data(), static_cast<DWORD>(sent.size())))
                       return kReportFailed;
                   return answeredOk(request) ? kReportSent : kReportFailed;
               })
        .value_or(kReportFailed);
}
