// Display rectangles in virtual-screen coordinates.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"

// The primary display, at 0,0, sized as the desktop's device context gives it.
RECT ReadPrimaryDisplayRect();
// The interface name of the first monitor on the display that
// GetMonitorInfoA calls `device`; "" when the system names none.
void ReadMonitorName(const char* device, char (&monitor)[kMonitorNameSize]);
// The display that shows the monitor named `monitor`, else the one whose
// device name is `device` (either may be ""); false when neither is attached now.
bool FindDisplayRect(const char* monitor, const char* device, RECT& rect);
