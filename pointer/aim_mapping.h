// Where a raw gun position lands on the screen: the one mapping that places
// Glimmerdot's cursor and that Gun Test shows without placing anything.
#pragma once

#include "framework/platform.h"

// The gun's aim window, raw X 160..672 and Y 32..224, covers the whole screen.
const int kAimLeft = 160;
const int kAimTop = 32;
const int kAimWidth = 512;
const int kAimHeight = 192;

// Positions the driver reports while the gun aims off the screen.
const WORD kOffScreenRawX = 1;
const WORD kOffScreenRawY = 5;

// The screen's size and the float scales made from it, worked out once per size.
struct AimScale {
    int width;
    int height;
    float scaleX;
    float scaleY;
};

struct ScreenPoint {
    int x;
    int y;
};

AimScale MakeAimScale(int width, int height);
// The primary display's size as the desktop's device context gives it.
AimScale ReadScreenAimScale();
bool IsAimedOffScreen(WORD rawX, WORD rawY);
// Where the cursor goes: truncated toward zero, clamped to [0, W-4] x [0, H-4].
// false, and `point` untouched, while the gun aims off the screen.
bool MapAimToScreen(const AimScale& scale, WORD rawX, WORD rawY, ScreenPoint& point);
