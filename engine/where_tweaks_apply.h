#pragma once
// Where each tweak applies: on the Windows the program runs on (its build and edition), and as
// far as a read could tell (the telemetry task missing, the scheduler silent). A tweak that does
// not apply is shown greyed with its reason and never written.

#include "engine/appraiser_task.h"
#include "engine/catalogue.h"
#include "engine/feature_model.h"

#include <cstdint>
#include <string>

// The Windows as its registry tells it (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion):
// CurrentBuildNumber and EditionID; 0 and empty when unknown.
struct WindowsRelease {
    std::uint32_t build = 0;
    std::u16string edition;
};
WindowsRelease ReadWindowsRelease();

// Whether a tweak's absence holds on the release: an unknown build or edition greys nothing.
bool AbsentOn(const Absence& absence, const WindowsRelease& release);

// Arrays, not pointers to literals: each is one object, so a reason is known by its address.
inline constexpr char16_t kNoAppraiserTask[] = u"This Windows has no Compatibility Appraiser task.";
inline constexpr char16_t kSchedulerSilent[] = u"The Task Scheduler did not answer.";

// Why each item of the model is not to be changed here; null where it is.
class Availability {
  public:
    // The catalogue's absences on the release; the telemetry task as its state was read.
    Availability(const WindowsRelease& release, TaskState appraiser);
    // Everything applies (nothing known yet).
    Availability() = default;

    const char16_t* reason(std::uint32_t page, std::uint32_t item) const {
        return reasons_[ModelIndex(page, item)];
    }
    // The telemetry task as a later read of it found it.
    void setAppraiserTask(TaskState appraiser);

  private:
    const char16_t* reasons_[kModelItems] = {};
};
