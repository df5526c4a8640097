#include "pointer/mouse_emulator.h"

#include <cstring>

#include "pointer/aim_mapping.h"

namespace {

struct MouseButton {
    WORD down;
    WORD up;
    DWORD data;
};

const MouseButton kMouseButtons[CMouseEmulator::kMouseButtonCount] = {
    {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
    {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
    {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2},
};
const int kRightButton = 2;

void SendButton(int button, bool down) {
    const MouseButton& b = kMouseButtons[button];
    mouse_event(down ? b.down : b.up, 0, 0, b.data, 0);
}

}  // namespace

CMouseEmulator::CMouseEmulator()
    : m_scale(),
      m_lastRawX(kOffScreenRawX),
      m_lastRawY(kOffScreenRawY),
      m_assigned(),
      m_held(),
      m_play(DefaultPlaySettings()),
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
    m_assigned[0] = left;
    m_assigned[1] = middle;
    m_assigned[2] = right;
}

void CMouseEmulator::UsePlaySettings(const PlaySettings& play) {
    m_play = play;
    m_assigned[3] = play.x1;
    m_assigned[4] = play.x2;
}

void CMouseEmulator::Update(WORD rawX, WORD rawY, const ButtonEdges& edges) {
    const bool moved = rawX != m_lastRawX || rawY != m_lastRawY;
    ScreenPoint cursor;
    if (OffScreenCorner(rawX, rawY, cursor) || (moved && MapAimToScreen(m_scale, rawX, rawY, cursor))) {
        m_lastRawX = rawX;
        m_lastRawY = rawY;
        Place(cursor);
    }
    // After the move, so a click lands where the gun points now.
    ApplyButtons(edges, IsAimedOffScreen(rawX, rawY));
}

// Every update while the gun aims off the screen, so the cursor stands there
// whatever else moved it; the off-screen position kept as the last one makes
// the next on the screen move the cursor, wherever it is.
bool CMouseEmulator::OffScreenCorner(WORD rawX, WORD rawY, ScreenPoint& cursor) const {
    const int corner = m_play.offScreen - kOffScreenTopLeft;  // 0 top-left, 1 bottom-right
    if (static_cast<unsigned>(corner) > 1 || !IsAimedOffScreen(rawX, rawY)) return false;
    // The display's last pixel, which the aim itself never reaches.
    cursor.x = m_scale.left + corner * (m_scale.width - 1);
    cursor.y = m_scale.top + corner * (m_scale.height - 1);
    return true;
}

void CMouseEmulator::Place(const ScreenPoint& cursor) {
    SetCursorPos(cursor.x, cursor.y);
    if (m_play.rawInput == 0) return;
    // SetCursorPos sends no raw input; a move there and back does. Pointer
    // acceleration may make the pair uneven, so the cursor is placed again:
    // raw-input readers read it after handling the pair.
    mouse_event(MOUSEEVENTF_MOVE, 1, 0, 0, 0);
    mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(-1), 0, 0, 0);
    SetCursorPos(cursor.x, cursor.y);
}

// Each button's state changes before its event goes out: while the system
// hands the event to low-level mouse hooks, this thread answers messages sent
// to it, a device change that stops the conversion among them, and that must
// not release the same button twice.
void CMouseEmulator::ReleaseHeldButton() {
    for (int i = 0; i < kMouseButtonCount; ++i) {
        const int held = m_held[i];
        if (held == 0) continue;
        m_held[i] = 0;
        if (!HeldByAnother(i, held - 1)) SendButton(held - 1, false);
    }
}

// Off screen the left's gun button may drive the right mouse button while the
// right's own gun button has it down: the system gets one down and one up.
bool CMouseEmulator::HeldByAnother(int slot, int button) const {
    if (m_play.offScreen != kOffScreenRightClick) return false;
    for (int i = 0; i < kMouseButtonCount; ++i)
        if (i != slot && m_held[i] == button + 1) return true;
    return false;
}

void CMouseEmulator::ApplyButtons(const ButtonEdges& edges, bool offScreen) {
    // The resting tick, the common one: no edge, no gun button down, no mouse
    // button held, told by five words rather than the loop.
    DWORD words[5] = {};
    static_assert(sizeof(ButtonEdges) + sizeof m_held <= sizeof words, "the edges and the held buttons in five words");
    std::memcpy(words, &edges, sizeof edges);
    std::memcpy(reinterpret_cast<BYTE*>(words) + sizeof edges, m_held, sizeof m_held);
    if ((words[0] | words[1] | words[2] | words[3] | words[4]) == 0) return;
    // Click: a press is a click, left staying down until the next successful
    // poll so the system sees it held, the others clicking within the one
    // poll. Hold: each mouse button down exactly while its gun button is.
    const bool click = m_play.buttons == kButtonsClick;
    for (int i = 0; i < kMouseButtonCount; ++i) {
        const unsigned gun = m_assigned[i] - 1u;
        const bool press = gun < kLabelledButtonCount &&
                           (click ? edges.flag[gun] == 1 : IsButtonHeld(edges, static_cast<int>(gun)) != FALSE);
        BYTE& held = m_held[i];
        if (!press && held == 0) continue;
        // Decided at the press: the held button keeps its mouse button.
        const int button = i == 0 && offScreen && m_play.offScreen == kOffScreenRightClick ? kRightButton : i;
        if (held != 0 && (!press || (click && held != button + 1))) {
            const int up = held - 1;
            held = 0;
            if (!HeldByAnother(i, up)) SendButton(up, false);
        }
        if (!press || (!click && held != 0)) continue;
        if (!click || i == 0) held = static_cast<BYTE>(button + 1);
        if (HeldByAnother(i, button)) continue;
        SendButton(button, true);
        if (click && i != 0) SendButton(button, false);
    }
}
