// The calibration as the user goes through it: a target near the top left,
// one near the bottom right, the gun's window solved from the two aims, then
// a check at the centre that is kept or tried again. Each tick's look at the
// gun feeds it; one press edge of any gun button is one answer. It knows no
// window: the calibration screen shows what it says.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"
#include "gun/gun_report.h"
#include "pointer/aim_mapping.h"

enum CalibrationStep {
    kStepFirstTarget,
    kStepSecondTarget,
    kStepCentreTarget,
    kStepVerdict, // the centre's error shown: keep it or try again
    kStepKept,    // Result() is to be stored
    kStepEnded,   // the display changed under it: nothing is stored
};

// Why the step is asked again, shown as a line under it; the refusals in the
// solver's order.
enum CalibrationNote {
    kNoteNone,
    kNoteAimedOffScreen,
    kNoteAimsTooClose,
    kNoteAimsReversed,
    kNoteWindowOutOfRange,
    kNoteWaitingForGun,
    kNoteNotSaved,
};

class CCalibrationFlow {
public:
    CCalibrationFlow();

    // The first target on `display` (virtual-screen pixels), the display that
    // GetMonitorInfoA calls `device`, showing the monitor named `monitor`. A
    // button held in `current` (NULL: no report) is no answer until it was let go.
    void Begin(const RECT& display, const char* device, const char* monitor, const GunReport* current);
    // The display as the system describes it now: another rectangle or name
    // (the mode changed, the monitor went away) ends the calibration.
    void OnDisplay(const RECT& display, const char* device);
    // One tick: the gun's last report, NULL while there is none.
    void OnGun(const GunReport* report);
    void Keep();       // Enter
    void TryAgain();   // Backspace: the first target comes back
    void SaveFailed(); // the kept calibration could not be stored: the verdict again

    CalibrationStep Step() const { return m_step; }
    CalibrationNote Note() const { return m_note; }
    // The current step's target (the verdict keeps the centre's).
    ScreenPoint Target() const { return TargetOf(m_step); }
    // At the verdict: where the calibrated aim landed minus the centre target.
    ScreenPoint CentreError() const { return m_centreError; }
    const Calibration& Result() const { return m_result; }

private:
    void Answer(WORD rawX, WORD rawY);
    void Restart();
    ScreenPoint TargetOf(CalibrationStep step) const;

    RECT m_display;
    CalibrationStep m_step;
    CalibrationNote m_note;
    GunReport m_previous;
    bool m_hasPrevious;
    WORD m_firstRawX;
    WORD m_firstRawY;
    ScreenPoint m_centreError;
    Calibration m_result;
};

// The screen's lines, each written whole into kCalibrationTextSize bytes.
const int kCalibrationTextSize = 128;
void FormatCalibrationStepLine(const CCalibrationFlow& flow, char* text);
void FormatCalibrationTargetLine(const CCalibrationFlow& flow, char* text);
// The centre check's result at the verdict, empty before.
void FormatCalibrationCheckLine(const CCalibrationFlow& flow, char* text);
void FormatCalibrationNoteLine(const CCalibrationFlow& flow, char* text);
// What Gun Test's calibration line adds once the screen has closed: why it
// ended without storing anything, or "".
const char* CalibrationEndNote(const CCalibrationFlow& flow);
