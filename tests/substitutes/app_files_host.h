#pragma once
// Control of the native build's files and environment: files are the host's own (paths with
// "\" turned into "/"), the environment a table that SetTestVariable fills.

#include <string>

namespace hostfiles {

// Empties the substitute environment and forgets every injected failure.
void Reset();
// Makes every MoveDataFile fail, as a full disk or a crash before the move would.
void FailReplace(bool fail);
// The host's path for a program's path.
std::string HostPath(const char16_t* path);

} // namespace hostfiles
