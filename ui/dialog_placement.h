#pragma once
// Where a dialog stands.

#include <windows.h>

// Moves the dialog to the middle of its parent with the size (0, 0: its own); when that place
// would not lie wholly on the screen it keeps its place and takes only the size.
void CenterOnParent(HWND dialog, int width, int height);
