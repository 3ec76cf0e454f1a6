#include "engine/drives.h"

#include <windows.h>

std::uint32_t PresentDriveMask() {
    return GetLogicalDrives();
}
