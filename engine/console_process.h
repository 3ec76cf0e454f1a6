#pragma once
// Runs a console command line in a hidden child process and captures what it writes to its
// standard output and error.

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kConsoleOutputLimit = 1024;
inline constexpr std::uint32_t kConsoleTimeoutMs = 60000;

struct ConsoleRun {
    // 0 when the output was read; else 1 (no pipe), 2 (no process) or 3 (output not read,
    // including a child that outlived the time limit and was ended).
    std::uint32_t failedStage;
    std::uint32_t errorCode; // the system error code of the failing step
};

// commandLine is writable (the system may change it in place). Keeps the first 1024 bytes of
// output in `output` (which the caller zeroes) and drains the rest so that the child never
// blocks on a full pipe.
ConsoleRun RunConsoleCommand(char16_t* commandLine, char* output, std::uint32_t timeoutMs);
