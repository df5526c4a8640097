// Where a raw gun position lands on the screen: the one mapping that places
// Glimmerdot's cursor and that Gun Test shows without placing anything.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"
#include "gun/gun_report.h"

// One display's rectangle and the gun's window over it, worked out once per
// display mode so that a tick only subtracts, multiplies, divides and clamps.
struct AimScale {
    int left;  // the display's origin in virtual-screen coordinates
    int top;
    int width;
    int height;
    int lastX;  // the last column and row the cursor may reach, from left and top
    int lastY;
    double originX;  // raw position at the display's left and top edges
    double originY;
    // Pixels per `span` raw units: the display's size over the window's for a
    // calibration, so that a raw position exactly on a pixel's edge lands on
    // that pixel; the single-precision scales over 1 for the default.
    double scaleX;
    double scaleY;
    double spanX;
    double spanY;
};

struct ScreenPoint {
    int x;
    int y;
};

// The default window on a width x height display at 0,0, with the
// single-precision scales the placements have always used.
AimScale MakeAimScale(int width, int height);
AimScale MakeCalibratedAimScale(const RECT& display, const AimWindow& window);
// The primary display's size as the desktop's device context gives it.
AimScale ReadScreenAimScale();
// The calibration's display as it is now, found by its monitor first and its
// device name second; the primary display, keeping the calibration's window,
// when neither is attached.
AimScale ReadCalibratedAimScale(const Calibration& calibration);

namespace aim_detail {

inline int ScaleAxis(WORD raw, double origin, double scale, double span, int limit) {
    // Exact difference and product, one rounding, then truncation toward zero.
    int position = static_cast<int>((static_cast<double>(raw) - origin) * scale / span);
    if (position < 0) position = 0;
    if (position > limit) position = limit;
    return position;
}

}  // namespace aim_detail

// Where the cursor goes: truncated toward zero, clamped to
// [left, left+W-4] x [top, top+H-4]. false, and `point` untouched, while the
// gun aims off the screen. Inline: it runs on every tick.
inline bool MapAimToScreen(const AimScale& scale, WORD rawX, WORD rawY, ScreenPoint& point) {
    if (IsAimedOffScreen(rawX, rawY)) return false;
    point.x = scale.left + aim_detail::ScaleAxis(rawX, scale.originX, scale.scaleX, scale.spanX, scale.lastX);
    point.y = scale.top + aim_detail::ScaleAxis(rawY, scale.originY, scale.scaleY, scale.spanY, scale.lastY);
    return true;
}
