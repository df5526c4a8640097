// Turns a gun position and press edges into cursor placement and mouse clicks.
#pragma once

#include "framework/platform.h"
#include "gun/gun_report.h"
#include "calibration/calibration.h"
#include "pointer/aim_mapping.h"

// 1..6 pick ButtonEdges 0..5 ("Start", "Select", "A", "B", "C", "D"); anything else: no gun button.
typedef BYTE ButtonAssignment;

class CMouseEmulator {
public:
    CMouseEmulator();
    virtual ~CMouseEmulator();

    void SetAssignments(BYTE left, BYTE middle, BYTE right);
    // Takes the screen size anew after a display mode change; the next report
    // on the screen places the cursor for it, even if the gun has not moved.
    void ReadScreenSize();
    // Maps through `calibration` from now on, and through it again after each
    // display mode change. The one already in use changes nothing.
    void UseCalibration(const Calibration& calibration);
    void Update(WORD rawX, WORD rawY, const ButtonEdges& edges);
    // Sends the left-up of a press still held, so stopping never leaves the button down.
    void ReleaseHeldButton();

private:
    void ApplyButtons(const ButtonEdges& edges);

    AimScale m_scale;
    int m_cursorX;
    int m_cursorY;
    WORD m_lastRawX;
    WORD m_lastRawY;
    ButtonAssignment m_left;
    ButtonAssignment m_middle;
    ButtonAssignment m_right;
    BOOL m_leftHeld;
    // Last: the tick's members stay within short reach of the object's start.
    Calibration m_calibration;
};
