#include "pointer/aim_mapping.h"

namespace {

const float kScalePerPixelX = 0.001953125f;  // 1/512, exact
const float kScalePerPixelY = 0.0052083335f; // bits 0x3BAAAAAB, the float nearest 1/192
// The cursor never reaches the last three rows and columns.
const int kEdgeMargin = 4;

// The desktop's device context, released however the reading ends.
class DesktopDC {
public:
    DesktopDC() : m_window(GetDesktopWindow()), m_dc(GetDC(m_window)) {}
    ~DesktopDC() {
        if (m_dc != NULL) ReleaseDC(m_window, m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;

    DesktopDC(const DesktopDC&) = delete;
    DesktopDC& operator=(const DesktopDC&) = delete;
};

int ScaleAxis(WORD raw, int origin, float scale, int limit) {
    const int offset = static_cast<int>(raw) - origin;
    // Exact product, then truncation toward zero.
    int position = static_cast<int>(static_cast<double>(offset) * static_cast<double>(scale));
    if (position < 0) position = 0;
    if (position > limit) position = limit;
    return position;
}

}  // namespace

AimScale MakeAimScale(int width, int height) {
    AimScale scale;
    scale.width = width;
    scale.height = height;
    scale.scaleX = static_cast<float>(width) * kScalePerPixelX;
    scale.scaleY = static_cast<float>(height) * kScalePerPixelY;
    return scale;
}

AimScale ReadScreenAimScale() {
    DesktopDC screen;
    const int width = GetDeviceCaps(screen.Get(), HORZRES);
    const int height = GetDeviceCaps(screen.Get(), VERTRES);
    return MakeAimScale(width, height);
}

bool IsAimedOffScreen(WORD rawX, WORD rawY) {
    return rawX == kOffScreenRawX || rawY == kOffScreenRawY;
}

bool MapAimToScreen(const AimScale& scale, WORD rawX, WORD rawY, ScreenPoint& point) {
    if (IsAimedOffScreen(rawX, rawY)) return false;
    point.x = ScaleAxis(rawX, kAimLeft, scale.scaleX, scale.width - kEdgeMargin);
    point.y = ScaleAxis(rawY, kAimTop, scale.scaleY, scale.height - kEdgeMargin);
    return true;
}
