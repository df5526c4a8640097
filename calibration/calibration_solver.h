// From two aims at known screen points to the gun's window over a display.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"

// A target's screen point (virtual-screen coordinates) and where the gun aimed at it.
struct CalibrationAim {
    int screenX;
    int screenY;
    WORD rawX;
    WORD rawY;
};

enum CalibrationRefusal {
    kCalibrationSolved,
    kAimOffScreen,      // an aim at raw X 1 or raw Y 5
    kAimsTooClose,      // fewer than kMinAimSpan raw units apart on an axis
    kAimsReversed,      // the second aim lies left of or above the first
    kWindowOutOfRange,  // the extrapolated window leaves 0..65535
};

struct TargetPoint {
    int x;
    int y;
};

enum CalibrationTarget { kTopLeftTarget, kBottomRightTarget, kCentreTarget };

// Where each target sits on `display`: the first two one eighth in from the
// top-left and bottom-right corners, the check in the middle.
TargetPoint CalibrationTargetPoint(const RECT& display, CalibrationTarget target);

// One aim on its own: kAimOffScreen while the gun aims off the screen.
CalibrationRefusal CheckCalibrationAim(const CalibrationAim& aim);

// `first` aimed at the top-left target, `second` at the bottom-right one;
// each axis a straight line through the two, extrapolated to the display's
// edges. `window` is written only when solved.
CalibrationRefusal SolveAimWindow(const RECT& display, const CalibrationAim& first, const CalibrationAim& second,
                                  AimWindow& window);
