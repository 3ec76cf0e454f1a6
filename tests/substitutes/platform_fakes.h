#pragma once
// Control of the native build's stand-ins for the drives, the task scheduler and the file
// system.

#include <cstdint>
#include <string>
#include <vector>

namespace fakes {

// Forgets everything below and sets the defaults: drives C: only; Windows in C:\Windows,
// a 64-bit system; desktop C:\Users\user\Desktop; this program in C:\Program;
// one scheduled task, disabled, and no failing scheduler call.
void Reset();

void SetDriveMask(std::uint32_t mask);

// The task scheduler holds one task, the appraiser task at its real path, with a TASK_STATE
// number (1 disabled, 3 ready, 4 running, ...). Stop turns running into ready, Disable makes it
// disabled, Enable turns disabled into ready. Any other path, or no task, fails to open with
// 0x80070002.
void SetTaskState(std::uint32_t state);
void RemoveTask();
std::uint32_t TaskStateNow();
// Every later call fails at this step (1 connect, 2 open, 3 action) with this HRESULT, until
// FailTaskCalls(0, 0).
void FailTaskCalls(std::uint32_t step, std::uint32_t code);
// Every call, in order: "<state|enable|disable|stop> <folder>\<name>".
const std::vector<std::string>& TaskCalls();

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
