#include "calibration/calibration.h"

#include <cmath>
#include <cstring>

namespace {

const float kRawLimit = 65535.0f;

bool IsUsableAxis(float low, float high) {
    if (!std::isfinite(low) || !std::isfinite(high)) return false;
    return low >= 0.0f && high <= kRawLimit && high - low >= kMinAimSpan;
}

}  // namespace

AimWindow DefaultAimWindow() {
    const AimWindow window = {kAimLeft, kAimLeft + kAimWidth, kAimTop, kAimTop + kAimHeight};
    return window;
}

Calibration DefaultCalibration() {
    Calibration calibration = {};
    calibration.window = DefaultAimWindow();
    return calibration;
}

bool IsUsableAimWindow(const AimWindow& window) {
    return IsUsableAxis(window.left, window.right) && IsUsableAxis(window.top, window.bottom);
}

bool SameAimWindow(const AimWindow& a, const AimWindow& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

bool SameCalibration(const Calibration& a, const Calibration& b) {
    return SameAimWindow(a.window, b.window) && std::strncmp(a.display, b.display, kDisplayNameSize) == 0 &&
           std::strncmp(a.monitor, b.monitor, kMonitorNameSize) == 0;
}

bool IsDefaultCalibration(const Calibration& calibration) {
    return SameAimWindow(calibration.window, DefaultAimWindow()) && calibration.display[0] == '\0' &&
           calibration.monitor[0] == '\0';
}
