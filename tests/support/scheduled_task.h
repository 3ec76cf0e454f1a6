#pragma once
// The telemetry task registered through the Task Scheduler, and a planted schtasks.exe.

#include <cstdint>
#include <string>

// "\Microsoft\Windows\Application Experience\Microsoft Compatibility Appraiser" registered for
// the life of the object; result() is the registration's HRESULT.
class RegisteredAppraiserTask {
  public:
    RegisteredAppraiserTask();
    ~RegisteredAppraiserTask();
    RegisteredAppraiserTask(const RegisteredAppraiserTask&) = delete;
    std::uint32_t result() const { return result_; }

  private:
    std::uint32_t result_;
};
void DeleteAppraiserTask();

// planted_program.exe copied into the folder as schtasks.exe for the life of the object;
// started, it leaves schtasks.exe.ran beside itself.
class PlantedSchtasks {
  public:
    explicit PlantedSchtasks(const std::u16string& folder);
    ~PlantedSchtasks();
    PlantedSchtasks(const PlantedSchtasks&) = delete;
    bool planted() const { return planted_; }
    bool ran() const;

  private:
    std::u16string path_;
    bool planted_ = false;
};

// The running executable's folder and the current directory.
std::u16string ExecutableFolder();
std::u16string CurrentFolder();
