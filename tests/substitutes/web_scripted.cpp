// The native build's web requests: answers from a script, every call recorded.
#include "services/web.h"
#include "tests/substitutes/web_scripted.h"

#include <cstring>

namespace {

struct Script {
    int updateCode = kFetchDone;
    std::string answer;
    int reportCode = kReportSent;
    webscript::Calls calls;
};

Script& script() {
    static Script s;
    return s;
}

} // namespace

namespace webscript {

void SetUpdateAnswer(int code, std::string answer) {
    script().updateCode = code;
    script().answer = std::move(answer);
}
void SetReportResult(int code) {
    script().reportCode = code;
}
const Calls& Made() {
    return script().calls;
}
void Reset() {
    script() = Script{};
}

} // namespace webscript

int FetchUpdateInfo(const ServiceEndpoint&, unsigned char* buffer, std::size_t size,
                    std::size_t* received, WebClock::time_point) {
    Script& s = script();
    if (received) *received = 0;
    if (!buffer) {
        ++s.calls.probes;
        return s.updateCode;
    }
    ++s.calls.fetches;
    if (s.updateCode != kFetchDone) return s.updateCode;
    const std::size_t n = s.answer.size() < size ? s.answer.size() : size;
    std::memcpy(buffer, s.answer.data(), n);
    if (received) *received = n;
    return kFetchDone;
}

int SendErrorReport(const ServiceEndpoint&, const char* unsent, WebClock::time_point) {
    script().calls.reports.emplace_back(unsent);
    return script().reportCode;
}
