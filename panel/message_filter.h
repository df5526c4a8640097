// Letting a message through User Interface Privilege Isolation: a window of a
// program run as administrator hears nothing from programs without those
// rights, Explorer's broadcasts included, unless it asks for that message.
#pragma once

#include "framework/platform.h"

// Asks for `message` to reach `window` from lower rights: per window where the
// system can (Windows 7 and later), per process on Vista, not at all before.
// Each entry point is found at run time, so the exe starts where none exists.
void LetMessageThroughPrivilegeFilter(HWND window, UINT message);
