#pragma once
// Control of the native build's web requests: the tests script the answers and read what was
// asked and sent.

#include <cstddef>
#include <string>
#include <vector>

namespace webscript {

// The next update requests end with this code and, on success, deliver these bytes (at most
// the caller's buffer size of them).
void SetUpdateAnswer(int code, std::string answer);
// The next reports end with this code.
void SetReportResult(int code);

struct Calls {
    int fetches = 0;                  // update requests that wanted the answer
    int probes = 0;                   // update requests without a buffer
    std::vector<std::string> reports; // the unsent text of every report attempt, in order
};
const Calls& Made();
// Forgets calls and script: requests succeed, answers are empty.
void Reset();

} // namespace webscript
