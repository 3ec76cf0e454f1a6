#pragma once
// The native build's drives, task scheduler and file system, with their state open to tests.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fakes {

struct Platform {
    std::uint32_t drives = 0x4; // C:
    // The appraiser task at its real path in a TASK_STATE (1 disabled, 3 ready, 4 running); else
    // opening fails with 0x80070002. Every call fails at failStep (1 connect, 2 open, 3 act).
    bool taskExists = true;
    std::uint32_t taskState = 1, failStep = 0, failCode = 0;
    std::vector<std::string> taskCalls; // "state", "enable", "disable" or "stop", in order
    // Paths compared exactly; an empty folder path is one that is unknown.
    std::u16string windows = u"C:\\Windows", desktop = u"C:\\Users\\user\\Desktop",
                   program = u"C:\\Program";
    bool wow64 = true; // a 64-bit system
    std::set<std::u16string> folders{u"C:\\Windows\\System32", u"C:\\Users\\user\\Desktop"};
    std::map<std::u16string, std::string> files;
};

Platform& Now(); // the platform now
void Reset();    // back to the default state
// While silent, the scheduler answers no call (each waits until it speaks again).
void SilenceScheduler(bool silent);

} // namespace fakes
