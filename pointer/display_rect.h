// Display rectangles in virtual-screen coordinates.
#pragma once

#include "framework/platform.h"

// The primary display, at 0,0, sized as the desktop's device context gives it.
RECT ReadPrimaryDisplayRect();
// The display whose device name (as GetMonitorInfoA gives it) is `name`;
// false when no such display is attached now.
bool FindDisplayRect(const char* name, RECT& rect);
