#include "pointer/mouse_emulator.h"

namespace {

// The gun's aim window: raw X from 160 over 512 steps, raw Y from 32 over 192.
const int kRawLeft = 160;
const int kRawTop = 32;
const float kScalePerPixelX = 0.001953125f;  // 1/512, exact
const float kScalePerPixelY = 0.0052083335f; // bits 0x3BAAAAAB, the float nearest 1/192
// Positions the driver reports while the gun aims off the screen.
const WORD kOffScreenRawX = 1;
const WORD kOffScreenRawY = 5;
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

bool IsPressed(ButtonAssignment assignment, const ButtonEdges& edges) {
    return assignment >= 1 && assignment <= 6 && edges.flag[assignment - 1] == 1;
}

}  // namespace

CMouseEmulator::CMouseEmulator()
    : m_screenWidth(0),
      m_screenHeight(0),
      m_scaleX(0.0f),
      m_scaleY(0.0f),
      m_cursorX(0),
      m_cursorY(0),
      m_lastRawX(kOffScreenRawX),
      m_lastRawY(kOffScreenRawY),
      m_left(0),
      m_middle(0),
      m_right(0),
      m_leftHeld(FALSE) {
    ReadScreenSize();
}

CMouseEmulator::~CMouseEmulator() {}

void CMouseEmulator::ReadScreenSize() {
    DesktopDC screen;
    m_screenWidth = GetDeviceCaps(screen.Get(), HORZRES);
    m_screenHeight = GetDeviceCaps(screen.Get(), VERTRES);
    m_scaleX = static_cast<float>(m_screenWidth) * kScalePerPixelX;
    m_scaleY = static_cast<float>(m_screenHeight) * kScalePerPixelY;
    // The one position that never moves the cursor, so the next report that
    // can move it does: a gun held still is placed for this size too.
    m_lastRawX = kOffScreenRawX;
    m_lastRawY = kOffScreenRawY;
}

void CMouseEmulator::SetAssignments(BYTE left, BYTE middle, BYTE right) {
    m_left = left;
    m_middle = middle;
    m_right = right;
}

void CMouseEmulator::Update(WORD rawX, WORD rawY, const ButtonEdges& edges) {
    const bool moved = rawX != m_lastRawX || rawY != m_lastRawY;
    if (moved && rawX != kOffScreenRawX && rawY != kOffScreenRawY) {
        m_lastRawX = rawX;
        m_lastRawY = rawY;
        m_cursorX = ScaleAxis(rawX, kRawLeft, m_scaleX, m_screenWidth - kEdgeMargin);
        m_cursorY = ScaleAxis(rawY, kRawTop, m_scaleY, m_screenHeight - kEdgeMargin);
        SetCursorPos(m_cursorX, m_cursorY);
    }
    // After the move, so a click lands where the gun points now.
    ApplyButtons(edges);
}

void CMouseEmulator::ReleaseHeldButton() {
    if (!m_leftHeld) return;
    m_leftHeld = FALSE;
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

void CMouseEmulator::ApplyButtons(const ButtonEdges& edges) {
    // Left stays down until the next successful poll, so a press is a click the
    // system sees as held; middle and right click within the one poll.
    if (IsPressed(m_left, edges)) {
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        m_leftHeld = TRUE;
    } else if (m_leftHeld) {
        m_leftHeld = FALSE;
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    if (IsPressed(m_middle, edges)) {
        mouse_event(MOUSEEVENTF_MIDDLEDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    }
    if (IsPressed(m_right, edges)) {
        mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    }
}
