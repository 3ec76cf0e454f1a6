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
    // The scheduler holds the appraiser task at its real path with a TASK_STATE number (1
    // disabled, 2 queued, 3 ready, 4 running); any other path, or no task, fails to open with
    // 0x80070002. Stop turns running into ready, Disable makes it disabled, Enable turns
    // disabled into ready. With failStep set (1 connect, 2 open, 3 action) every call fails
    // there with failCode.
    bool taskExists = true;
    std::uint32_t taskState = 1;
    std::uint32_t failStep = 0, failCode = 0;
    std::vector<std::string> taskCalls; // "state", "enable", "disable" or "stop", in order
    // The file system: paths compared exactly; an empty folder path is one that is unknown.
    std::u16string windows = u"C:\\Windows";
    std::u16string desktop = u"C:\\Users\\user\\Desktop";
    std::u16string program = u"C:\\Program";
    bool wow64 = true; // a 64-bit system
    std::set<std::u16string> folders{u"C:\\Windows\\System32", u"C:\\Users\\user\\Desktop"};
    std::map<std::u16string, std::string> files;
};

// The platform in its default state.
Platform& Now();
void Reset();
void SetDriveMask(std::uint32_t mask);

} // namespace fakes
