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

Calibration DefaultCalibration() {
    Calibration calibration;
    std::memset(&calibration, 0, sizeof calibration);
    calibration.window.left = 160.0f;
    calibration.window.right = 672.0f;
    calibration.window.top = 32.0f;
    calibration.window.bottom = 224.0f;
    return calibration;
}

bool IsUsableAimWindow(const AimWindow& window) {
    return IsUsableAxis(window.left, window.right) && IsUsableAxis(window.top, window.bottom);
}

bool IsDefaultCalibration(const Calibration& calibration) {
    const Calibration standard = DefaultCalibration();
    return calibration.window.left == standard.window.left && calibration.window.right == standard.window.right &&
           calibration.window.top == standard.window.top && calibration.window.bottom == standard.window.bottom &&
           calibration.display[0] == '\0';
}
