#include "pointer/aim_mapping.h"

#include "pointer/display_rect.h"

namespace {

const float kScalePerPixelX = 0.001953125f;  // 1/512, exact
const float kScalePerPixelY = 0.0052083335f; // bits 0x3BAAAAAB, the float nearest 1/192
// The cursor never reaches the display's last three rows and columns.
const int kEdgeMargin = 4;

}  // namespace

AimScale MakeCalibratedAimScale(const RECT& display, const AimWindow& window) {
    AimScale scale;
    scale.left = display.left;
    scale.top = display.top;
    scale.width = display.right - display.left;
    scale.height = display.bottom - display.top;
    scale.lastX = scale.width - kEdgeMargin;
    scale.lastY = scale.height - kEdgeMargin;
    scale.originX = window.left;
    scale.originY = window.top;
    if (SameAimWindow(window, DefaultAimWindow())) {
        // The single-precision scales the placements have always used.
        scale.scaleX = static_cast<float>(scale.width) * kScalePerPixelX;
        scale.scaleY = static_cast<float>(scale.height) * kScalePerPixelY;
        scale.spanX = 1.0;
        scale.spanY = 1.0;
    } else {
        scale.scaleX = scale.width;
        scale.scaleY = scale.height;
        scale.spanX = static_cast<double>(window.right) - window.left;
        scale.spanY = static_cast<double>(window.bottom) - window.top;
    }
    return scale;
}

AimScale MakeAimScale(int width, int height) {
    const RECT display = {0, 0, width, height};
    return MakeCalibratedAimScale(display, DefaultAimWindow());
}

AimScale ReadScreenAimScale() {
    return MakeCalibratedAimScale(ReadPrimaryDisplayRect(), DefaultAimWindow());
}

AimScale ReadCalibratedAimScale(const Calibration& calibration) {
    RECT display;
    const bool named = calibration.display[0] != '\0' || calibration.monitor[0] != '\0';
    if (!named || !FindDisplayRect(calibration.monitor, calibration.display, display))
        display = ReadPrimaryDisplayRect();
    return MakeCalibratedAimScale(display, calibration.window);
}
