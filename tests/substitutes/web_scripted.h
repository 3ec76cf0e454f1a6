#pragma once
// The native build's web requests answer from this script and record what they were asked.
#include <string>
#include <vector>

namespace webscript {

struct Script {
    int updateCode = 0, reportCode = 0; // what update requests and reports end with (0: done)
    std::string answer;                 // what a done update request delivers (at most its buffer)
    int fetches = 0, probes = 0;        // update requests with and without a buffer
    std::vector<std::string> reports;   // the unsent text of every report, in order
};
inline Script script; // the tests set it; `script = {}` forgets calls and answers

} // namespace webscript
