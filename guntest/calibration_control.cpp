// Gun Test's two writes of the calibration, each on the user's word: one kept
// on the calibration screen, and the reset. The line and the cursor follow the
// calibration in force.
#include "guntest/guntest_dlg.h"

#include "calibration/calibration_store.h"
#include "guntest/guntest_ids.h"

void CGunTestDlg::OnCalibrate()
{
    CCalibrationScreen screen(this, m_watch.Report());
    m_calibrating = &screen;
    screen.DoModal();
    m_calibrating = nullptr;
    ReloadCalibration(screen.EndNote());
    ShowGunState();
}

void CGunTestDlg::OnResetCalibration()
{
    ReloadCalibration(ResetCalibration() ? "" : " (not reset: Gun Test needs administrator rights)");
    ShowGunState();
}

void CGunTestDlg::ReloadCalibration(const char* note)
{
    LoadCalibration(m_calibration);
    m_screen = ReadCalibratedAimScale(m_calibration);
    m_picture.SetAimWindow(m_calibration.window);
    char text[kFactTextSize];
    FormatCalibrationLine(m_calibration, note, text);
    ShowFact(m_hWnd, m_facts[kCalibrationLine], text);
}
