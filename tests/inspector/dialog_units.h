// Dialog units of another process's dialog: MapDialogRect fails across
// processes, so the dialog's base units are measured inside it and the
// pixels are turned back into the units that lay out to them.
#pragma once

#include <string>

struct DialogBase {
    int x = 0; // pixels for 4 horizontal units
    int y = 0; // pixels for 8 vertical units
};

// Units that lay out to exactly these pixels ("12"), or the nearest ("~12").
std::string UnitsFromPixels(long pixels, int base, int unitsPerBase);
