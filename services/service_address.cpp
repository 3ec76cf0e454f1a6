#include "services/service_address.h"

#include "engine/registry.h"
#include "base/text.h"

#include <string>

#ifndef VELKARO_SERVICE_BASE
#define VELKARO_SERVICE_BASE "https://quenorith.example/velkarostrandemilquorbenix"
#endif
#ifndef VELKARO_DOWNLOAD_PAGE
#define VELKARO_DOWNLOAD_PAGE "https://quenorith.example/velkarostrandemilquorbenix/download"
#endif
#ifndef VELKARO_COLLECTED_DATA_PAGE
#define VELKARO_COLLECTED_DATA_PAGE "https://quenorith.example/velkarostrandemilquorbenix/privacy"
#endif

namespace {

// Body pieces; the first three are the update address's query pieces.
constexpr const char* kBodyProduct = "product=";
constexpr const char* kBodyVersion = "&version=";
constexpr const char* kBodyEdition = "&edition=";
constexpr const char* kBodyKind = "&kind=";
constexpr const char* kBodySystem = "&system=";
constexpr const char* kBodyTrail = "&trail=";

template <std::size_t N> bool copyPiece(char16_t (&out)[N], std::u16string_view piece) {
    if (piece.size() >= N) return false;
    piece.copy(out, piece.size());
    out[piece.size()] = 0;
    return true;
}

template <std::size_t N> bool append(char16_t (&out)[N], const char16_t* piece) {
    return StrAppendBounded(out, piece, N) < N;
}

template <std::size_t N> bool appendNumber(char16_t (&out)[N], std::int64_t number) {
    return append(out, fromUtf8(std::to_string(number)).c_str());
}

template <std::size_t N> void appendNumber(char (&out)[N], std::int64_t number) {
    StrAppendBounded(out, std::to_string(number).c_str(), N);
}

} // namespace

bool ParseServiceBase(std::u16string_view base, ServiceEndpoint& endpoint) {
    endpoint = ServiceEndpoint{};
    if (base.starts_with(u"https://")) {
        endpoint.secure = true;
        base.remove_prefix(8);
    } else if (base.starts_with(u"http://")) {
        base.remove_prefix(7);
    } else {
        return false;
    }
    const std::size_t slash = base.find(u'/');
    std::u16string_view server = base.substr(0, slash);
    const std::u16string_view folder =
        slash == std::u16string_view::npos ? std::u16string_view() : base.substr(slash);
    if (folder.find_first_of(u"?#") != std::u16string_view::npos || folder.ends_with(u'/'))
        return false;
    const std::size_t colon = server.find(u':');
    if (colon != std::u16string_view::npos) {
        const std::u16string_view digits = server.substr(colon + 1);
        std::uint32_t port = 0;
        if (digits.empty() || digits.size() > 5) return false;
        for (const char16_t c : digits) {
            if (c < u'0' || c > u'9') return false;
            port = port * 10 + (c - u'0');
        }
        if (port == 0 || port > 65535) return false;
        endpoint.port = static_cast<std::uint16_t>(port);
        server = server.substr(0, colon);
    }
    if (server.empty() || server.find(u'@') != std::u16string_view::npos) return false;
    return copyPiece(endpoint.host, server) && copyPiece(endpoint.folder, folder);
}

ServiceEndpoint BuiltInServiceEndpoint() {
    ServiceEndpoint endpoint;
    ParseServiceBase(u"" VELKARO_SERVICE_BASE, endpoint);
    return endpoint;
}

const char16_t* DownloadPageAddress() {
    return u"" VELKARO_DOWNLOAD_PAGE;
}
const char16_t* CollectedDataPageAddress() {
    return u"" VELKARO_COLLECTED_DATA_PAGE;
}

bool BuildUpdateObject(const ServiceEndpoint& endpoint,
                       char16_t (&object)[kUpdateAddressCapacity]) {
    object[0] = 0;
    return append(object, endpoint.folder) && append(object, kUpdatePath) &&
           append(object, u"product=") && appendNumber(object, kProductNumber) &&
           append(object, u"&version=") && appendNumber(object, kProductVersion) &&
           append(object, u"&edition=") && appendNumber(object, kEditionNumber);
}

bool BuildUpdateAddress(const ServiceEndpoint& endpoint,
                        char16_t (&address)[kUpdateAddressCapacity]) {
    address[0] = 0;
    char16_t object[kUpdateAddressCapacity];
    bool fits = append(address, endpoint.secure ? u"https://" : u"http://") &&
                append(address, endpoint.host);
    if (fits && endpoint.port != 0)
        fits = append(address, u":") && appendNumber(address, endpoint.port);
    return fits && BuildUpdateObject(endpoint, object) && append(address, object);
}

bool BuildReportObject(const ServiceEndpoint& endpoint, char16_t (&object)[160]) {
    object[0] = 0;
    return append(object, endpoint.folder) && append(object, kReportPath);
}

std::size_t BuildReportBody(char (&body)[kReportBodyCapacity], std::uint32_t systemNumber,
                            const char* unsent) {
    body[0] = 0;
    StrAppendBounded(body, kBodyProduct, kReportBodyCapacity);
    appendNumber(body, kProductNumber);
    StrAppendBounded(body, kBodyVersion, kReportBodyCapacity);
    appendNumber(body, kProductVersion);
    StrAppendBounded(body, kBodyEdition, kReportBodyCapacity);
    appendNumber(body, kEditionNumber);
    StrAppendBounded(body, kBodyKind, kReportBodyCapacity);
    appendNumber(body, kReportKind);
    StrAppendBounded(body, kBodySystem, kReportBodyCapacity);
    appendNumber(body, systemNumber);
    StrAppendBounded(body, kBodyTrail, kReportBodyCapacity);
    StrAppendBounded(body, unsent, kReportBodyCapacity);
    return TextLength(body);
}

std::uint32_t ReadSystemNumber() {
    char16_t text[12];
    ReadRegString(Hive::LocalMachine, kSystemNumberKey, kSystemNumberValue, text, 12, u"0");
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < 11 && text[i] >= u'0' && text[i] <= u'9'; ++i)
        number = number * 10 + (text[i] - u'0');
    return number > UINT32_MAX ? 0 : static_cast<std::uint32_t>(number);
}
