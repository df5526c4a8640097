#include "calibration/calibration_solver.h"

#include "calibration/calibration.h"
#include "gun/gun_report.h"

namespace {

// One axis: the line through (screen1, raw1) and (screen2, raw2), read at the
// display's two edges. The far edge is the one past the last pixel.
CalibrationRefusal SolveAxis(int edgeLow, int edgeHigh, int screen1, WORD raw1, int screen2, WORD raw2, float& low,
                             float& high) {
    const int rawSpan = static_cast<int>(raw2) - static_cast<int>(raw1);
    if (rawSpan > -static_cast<int>(kMinAimSpan) && rawSpan < static_cast<int>(kMinAimSpan)) return kAimsTooClose;
    if (rawSpan < 0 || screen2 <= screen1) return kAimsReversed;
    const double perPixel = static_cast<double>(rawSpan) / static_cast<double>(screen2 - screen1);
    low = static_cast<float>(raw1 + perPixel * (edgeLow - screen1));
    high = static_cast<float>(raw1 + perPixel * (edgeHigh - screen1));
    return kCalibrationSolved;
}

}  // namespace

TargetPoint CalibrationTargetPoint(const RECT& display, CalibrationTarget target) {
    const int width = display.right - display.left;
    const int height = display.bottom - display.top;
    TargetPoint point;
    switch (target) {
    case kTopLeftTarget:
        point.x = display.left + width / 8;
        point.y = display.top + height / 8;
        break;
    case kBottomRightTarget:
        point.x = display.right - width / 8;
        point.y = display.bottom - height / 8;
        break;
    default:
        point.x = display.left + width / 2;
        point.y = display.top + height / 2;
        break;
    }
    return point;
}

CalibrationRefusal CheckCalibrationAim(const CalibrationAim& aim) {
    return IsAimedOffScreen(aim.rawX, aim.rawY) ? kAimOffScreen : kCalibrationSolved;
}

CalibrationRefusal SolveAimWindow(const RECT& display, const CalibrationAim& first, const CalibrationAim& second,
                                  AimWindow& window) {
    if (CheckCalibrationAim(first) != kCalibrationSolved || CheckCalibrationAim(second) != kCalibrationSolved)
        return kAimOffScreen;
    AimWindow solved;
    CalibrationRefusal refusal = SolveAxis(display.left, display.right, first.screenX, first.rawX, second.screenX,
                                           second.rawX, solved.left, solved.right);
    if (refusal != kCalibrationSolved) return refusal;
    refusal = SolveAxis(display.top, display.bottom, first.screenY, first.rawY, second.screenY, second.rawY,
                        solved.top, solved.bottom);
    if (refusal != kCalibrationSolved) return refusal;
    if (!IsUsableAimWindow(solved)) return kWindowOutOfRange;
    window = solved;
    return kCalibrationSolved;
}
