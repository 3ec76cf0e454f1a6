#pragma once
// The native build's web requests answer from this script and record what they were asked.

#include <string>
#include <vector>

namespace webscript {

struct Script {
    int updateCode = 0;               // what update requests end with (0: done)
    std::string answer;               // what a done update request delivers (at most its buffer)
    int reportCode = 0;               // what reports end with (0: sent)
    int fetches = 0, probes = 0;      // update requests with and without a buffer
    std::vector<std::string> reports; // the unsent text of every report, in order
};
// The tests set it; `script = {}` forgets calls and answers.
inline Script script;

} // namespace webscript
