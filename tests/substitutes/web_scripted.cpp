#include "services/web.h"
#include "tests/substitutes/web_scripted.h"

#include <algorithm>
#include <cstring>

using webscript::script;

int FetchUpdateInfo(const ServiceEndpoint&, unsigned char* buffer, std::size_t size,
                    std::size_t* received, WebClock::time_point) {
    if (!buffer) return ++script.probes, script.updateCode;
    ++script.fetches;
    *received = script.updateCode == kFetchDone ? std::min(size, script.answer.size()) : 0;
    std::memcpy(buffer, script.answer.data(), *received);
    return script.updateCode;
}

int SendErrorReport(const ServiceEndpoint&, const char* unsent, WebClock::time_point) {
    script.reports.emplace_back(unsent);
    return script.reportCode;
}
