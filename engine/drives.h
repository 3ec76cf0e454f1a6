#pragma once
// The drives present now: bit 0 for A up to bit 25 for Z (GetLogicalDrives on Windows).

#include <cstdint>

std::uint32_t PresentDriveMask();
