// The calibration screen: black and borderless over the whole display that
// Gun Test's window is on, one target at a time, and the flow's lines as
// static controls. Modal: Gun Test's own tick feeds it the gun.
#pragma once

#include "framework/framework.h"
#include "guntest/calibration_flow.h"
#include "guntest/fact_line.h"

class CCalibrationScreen : public CDialog {
public:
    // `current`: the gun's report as the screen opens, NULL for none.
    CCalibrationScreen(CWnd* owner, const GunReport* current);

    // One look at the gun by the owner's tick: its last report, NULL for none.
    void OnGun(const GunReport* report);
    // The display may have changed (the owner's WM_DISPLAYCHANGE, a tick):
    // the screen ends if it did.
    void LookAtDisplay();
    // Why it ended, for Gun Test's calibration line.
    const char* EndNote() const { return CalibrationEndNote(m_flow); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

private:
    // The lines and the target brought up to date; a kept result stored and the screen ended.
    void Show();
    void CoverDisplay();

    enum { kStepLine, kTargetLine, kCheckLine, kNoteLine, kLineCount };

    HWND m_owner;
    RECT m_display;
    CCalibrationFlow m_flow;
    FactLine m_lines[kLineCount];
    ScreenPoint m_drawnTarget;

    DECLARE_MESSAGE_MAP()
};
