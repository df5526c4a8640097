// Turns a gun position and press edges into cursor placement and mouse clicks.
#pragma once

#include "framework/platform.h"
#include "gun/gun_report.h"
#include "calibration/calibration.h"
#include "pointer/aim_mapping.h"
#include "pointer/play_settings.h"

// 1..6 pick ButtonEdges 0..5 ("Start", "Select", "A", "B", "C", "D"); anything else: no gun button.
typedef BYTE ButtonAssignment;

class CMouseEmulator {
public:
    CMouseEmulator();
    virtual ~CMouseEmulator();

    void SetAssignments(BYTE left, BYTE middle, BYTE right);
    // The play choices from the next update on, mouse buttons 4 and 5's
    // assignments among them. Release what is held before changing them.
    void UsePlaySettings(const PlaySettings& play);
    // Takes the screen size anew after a display mode change; the next report
    // on the screen places the cursor for it, even if the gun has not moved.
    void ReadScreenSize();
    // Maps through `calibration` from now on, and through it again after each
    // display mode change. The one already in use changes nothing.
    void UseCalibration(const Calibration& calibration);
    void Update(WORD rawX, WORD rawY, const ButtonEdges& edges);
    // Sends the up of every mouse button still held, left first, so stopping
    // never leaves one down.
    void ReleaseHeldButton();

    // Left, middle, right, X button 1, X button 2: each a mouse button and
    // the gun button assigned to it.
    static const int kMouseButtonCount = 5;

private:
    void ApplyButtons(const ButtonEdges& edges, bool offScreen);
    bool HeldByAnother(int slot, int button) const;
    bool OffScreenCorner(WORD rawX, WORD rawY, ScreenPoint& cursor) const;
    void Place(const ScreenPoint& cursor);

    AimScale m_scale;
    WORD m_lastRawX;
    WORD m_lastRawY;
    ButtonAssignment m_assigned[kMouseButtonCount];
    // 1 + the mouse button each assignment holds down (the right one for the
    // left while off screen), 0 for none.
    BYTE m_held[kMouseButtonCount];
    PlaySettings m_play;
    // Last: the tick's members stay within short reach of the object's start.
    Calibration m_calibration;
};
