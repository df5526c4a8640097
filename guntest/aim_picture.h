// The picture beside the fact lines: the gun's aim window with a crosshair
// where it points, and a lamp for each labelled button.
#pragma once

#include "calibration/calibration.h"
#include "framework/framework.h"
#include "gun/gun_report.h"

class CAimPicture : public CWnd {
public:
    CAimPicture();

    // The report to show, NULL for none; repaints only when it changed.
    void Show(const GunReport* report);
    // The gun's window the frame stands for: the calibration in force.
    void SetAimWindow(const AimWindow& window);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

private:
    // Sizes at `dpi`, the scale of the display the picture is on.
    void Draw(HDC dc, const RECT& area, UINT dpi) const;
    RECT FitAimWindow(const RECT& space) const;
    void DrawAimWindow(HDC dc, const RECT& window, UINT dpi) const;
    void DrawLamps(HDC dc, const RECT& row, UINT dpi) const;

    bool m_hasReport;
    GunReport m_report;
    AimWindow m_window;

    DECLARE_MESSAGE_MAP()
};
