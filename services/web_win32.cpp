// The update request and the error report over WinINet. Every Internet handle is owned by an
// InternetHandle and closed before the request returns, on every path.
#include "services/web.h"

#include "engine/win32/wide.h"

#include <utility>
#include <wininet.h>

namespace {

// Connect, send and receive timeouts: an unreachable or silent service must not hold the
// window for long.
constexpr DWORD kTimeoutMs = 4000;

class InternetHandle {
  public:
    explicit InternetHandle(HINTERNET handle) noexcept : handle_(handle) {}
    InternetHandle(InternetHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }
    HINTERNET get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

  private:
    HINTERNET handle_ = nullptr;
};

// Timeouts are set on every handle: Windows hands the session's down to the requests, but
// Wine heeds them only on connection and request handles.
void setTimeouts(HINTERNET handle) {
    DWORD timeout = kTimeoutMs;
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &timeout, sizeof timeout);
}

InternetHandle openSession() {
    InternetHandle session(
        InternetOpenW(AsWide(kUserAgent), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (session) setTimeouts(session.get());
    return session;
}

InternetHandle connect(HINTERNET session, const ServiceEndpoint& service) {
    const INTERNET_PORT port = service.port != 0 ? service.port
                               : service.secure  ? INTERNET_DEFAULT_HTTPS_PORT
                                                 : INTERNET_DEFAULT_HTTP_PORT;
    InternetHandle connection(InternetConnectW(session, AsWide(service.host), port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection) setTimeouts(connection.get());
    return connection;
}

InternetHandle openRequest(HINTERNET connection, const ServiceEndpoint& service,
                           const char16_t* verb, const char16_t* object) {
    const wchar_t* acceptTypes[] = {AsWide(kReportAcceptType), nullptr};
    const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD |
                        (service.secure ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(HttpOpenRequestW(connection, AsWide(verb), AsWide(object),
                                            AsWide(kReportHttpVersion), nullptr, acceptTypes, flags,
                                            0));
    if (request) setTimeouts(request.get());
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
                    std::size_t* received) {
    if (received) *received = 0;
    const InternetHandle session = openSession();
    if (!session) return kFetchNoSession;
    // The request for the update address, made step by step so that every handle carries
    // the timeouts.
    char16_t address[kUpdateAddressCapacity];
    char16_t object[kUpdateAddressCapacity];
    if (!BuildUpdateAddress(service, address) || !BuildUpdateObject(service, object))
        return kFetchCannotOpen;
    const InternetHandle connection = connect(session.get(), service);
    if (!connection) return kFetchCannotOpen;
    const InternetHandle request = openRequest(connection.get(), service, u"GET", object);
    if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0) ||
        !answeredOk(request.get()))
        return kFetchCannotOpen;
    if (!buffer) return kFetchDone;
    // The answer may arrive in pieces; take what the service sends, up to size bytes.
    std::size_t total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer + total, static_cast<DWORD>(size - total),
                              &got))
            return kFetchReadFailed;
        if (got == 0) break;
        total += got;
    }
    if (received) *received = total;
    return kFetchDone;
}

int SendErrorReport(const ServiceEndpoint& service, const char* unsent) {
    const InternetHandle session = openSession();
    if (!session) return kReportNoSession;
    const InternetHandle connection = connect(session.get(), service);
    if (!connection) return kReportNoConnection;
    char16_t object[160];
    if (!BuildReportObject(service, object)) return kReportNoRequest;
    const InternetHandle request = openRequest(connection.get(), service, kReportVerb, object);
    if (!request) return kReportNoRequest;
    char body[kReportBodyCapacity];
    const std::size_t length = BuildReportBody(body, ReadSystemNumber(), unsent);
    if (!HttpSendRequestW(request.get(), AsWide(kReportHeader), static_cast<DWORD>(-1), body,
                          static_cast<DWORD>(length)))
        return kReportFailed;
    return answeredOk(request.get()) ? kReportSent : kReportFailed;
}
