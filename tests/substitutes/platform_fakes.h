#pragma once
// Control of the native build's stand-ins for the drives, the console child process and the
// file system.

#include <cstdint>
#include <string>
#include <vector>

namespace fakes {

// Forgets everything below and sets the defaults: drives C: only; Windows in C:\Windows,
// a 64-bit system; desktop C:\Users\user\Desktop; this program in C:\Program;
// every console run answers with empty output.
void Reset();

void SetDriveMask(std::uint32_t mask);

// The console runs, in order: each call takes the next scripted answer (the last one
// repeats).
struct ConsoleAnswer {
    std::string output;            // what the child writes
    std::uint32_t failedStage = 0; // 1, 2 or 3 to fail at that step
    std::uint32_t errorCode = 0;
};
void ScriptConsole(std::vector<ConsoleAnswer> answers);
const std::vector<std::u16string>& ConsoleCommands();

// The in-memory file system; paths compare without regard to case.
void SetWindowsFolder(const std::u16string& path); // empty: the call fails
void SetSystemWow64(bool present);
void SetDesktop(const std::u16string& path);       // empty: unknown
void SetProgramFolder(const std::u16string& path); // empty or 260 units and more: unknown
void AddFolder(const std::u16string& path);
void AddFile(const std::u16string& path, const std::string& bytes);
bool FolderExists(const std::u16string& path);
bool FileExists(const std::u16string& path);
std::string FileBytes(const std::u16string& path);
// Every file-system change, in order: "mkdir <path>", "copy <source> -> <target>",
// "delete <path>", each only when it succeeded.
const std::vector<std::string>& FileLog();

} // namespace fakes
