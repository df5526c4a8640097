// Which copy of the settings key this run reads and writes, as its process
// token tells. Windows' registry virtualization gives a 32-bit program run
// without administrator rights (and with no manifest asking for a level) the
// user's own copy, HKCU\Software\Classes\VirtualStore\MACHINE\SOFTWARE\...;
// a run as administrator uses the computer's key itself, HKLM\SOFTWARE\...
#pragma once

#include "framework/platform.h"

enum SettingsCopy {
    kUserCopy,            // virtualized: the user's own copy, kept by Windows
    kComputerCopy,        // elevated: the computer's copy
    kComputerCopyLocked,  // neither (UAC off, or virtualization off): the computer's copy, maybe not writable
    kCopyUntold,          // the token does not answer (Windows before Vista)
};

// This process's token, asked once.
SettingsCopy ReadSettingsCopy();
