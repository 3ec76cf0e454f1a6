#pragma once
// Control of the native build's files and environment: files are the host's own (paths with
// "\" turned into "/"), the environment is a table the tests fill.

namespace hostfiles {

// Sets or (with value null) unsets a variable of the substitute environment.
void SetVariable(const char16_t* name, const char16_t* value);
// Empties the substitute environment and forgets every injected failure.
void Reset();
// Makes every MoveDataFileOver fail, as a full disk or a crash before the move would.
void FailReplace(bool fail);

} // namespace hostfiles
