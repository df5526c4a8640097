#include "pointer/mouse_emulator.h"

#include "pointer/aim_mapping.h"

namespace {

bool IsPressed(ButtonAssignment assignment, const ButtonEdges& edges) {
    return assignment >= 1 && assignment <= 6 && edges.flag[assignment - 1] == 1;
}

}  // namespace

CMouseEmulator::CMouseEmulator()
    : m_scale(),
      m_cursorX(0),
      m_cursorY(0),
      m_lastRawX(kOffScreenRawX),
      m_lastRawY(kOffScreenRawY),
      m_left(0),
      m_middle(0),
      m_right(0),
      m_leftHeld(FALSE),
      m_calibration(DefaultCalibration()) {
    ReadScreenSize();
}

CMouseEmulator::~CMouseEmulator() {}

void CMouseEmulator::ReadScreenSize() {
    m_scale = ReadCalibratedAimScale(m_calibration);
    // The one position that never moves the cursor, so the next report that
    // can move it does: a gun held still is placed for this size too.
    m_lastRawX = kOffScreenRawX;
    m_lastRawY = kOffScreenRawY;
}

void CMouseEmulator::UseCalibration(const Calibration& calibration) {
    if (SameCalibration(calibration, m_calibration)) return;
    m_calibration = calibration;
    ReadScreenSize();
}

void CMouseEmulator::SetAssignments(BYTE left, BYTE middle, BYTE right) {
    m_left = left;
    m_middle = middle;
    m_right = right;
}

void CMouseEmulator::Update(WORD rawX, WORD rawY, const ButtonEdges& edges) {
    const bool moved = rawX != m_lastRawX || rawY != m_lastRawY;
    ScreenPoint cursor;
    if (moved && MapAimToScreen(m_scale, rawX, rawY, cursor)) {
        m_lastRawX = rawX;
        m_lastRawY = rawY;
        m_cursorX = cursor.x;
        m_cursorY = cursor.y;
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
