#pragma once
// Backups taken before every Apply: the state of the system about to be changed, written as a
// settings data file into the "Backups" folder of the per-user data folder and named by the
// local date and time ("2026-12-07 14.05.09.vlkd"; a second one in the same second gets
// " (2)"). The newest 20 are kept. Importing a backup, or `vlk undo`, brings that state back.

#include "engine/feature_model.h"
#include "services/clock.h"
#include "base/error_trail.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char16_t* kBackupFolderName = u"Backups";
inline constexpr std::size_t kBackupsKept = 20;
// Backups of one second beyond this many are not written.
inline constexpr unsigned kBackupCopiesPerSecond = 1000;

// The step of a backup that failed, in its record (kStageBackupFailed).
enum BackupFailure : std::uint64_t {
    BackupNoFolder = 1,   // no per-user data folder (its variable unset, or the path too long)
    BackupNotWritten = 2, // the file could not be written
};

// The Backups folder, created when missing; empty when there is no per-user data folder.
std::u16string BackupFolder();

// The backups in the folder, newest (last written) first, as full paths. Other files there
// are not backups.
std::vector<std::u16string> ListBackups();

// Writes the current values of `present`, the system as read just now, as a new backup stamped
// `now`, and removes the oldest beyond 20 (never the new one, which counts as the newest even
// when the clock was put back). Drives are stored by letter from `drives`, the mask the model was
// read with. Returns the backup's path; empty on a failure, which leaves a record of
// kStageBackupFailed in the trail.
std::u16string BackUpState(const FeatureModel& present, std::uint32_t drives, const LocalTime& now,
                           ErrorTrail& trail);
