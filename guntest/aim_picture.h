// The picture beside the fact lines: the gun's aim window with a crosshair
// where it points, and a lamp for each labelled button.
#pragma once

#include "framework/framework.h"
#include "gun/gun_report.h"

class CAimPicture : public CWnd {
public:
    CAimPicture();

    // The report to show, NULL for none; repaints only when it changed.
    void Show(const GunReport* report);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);

private:
    void Draw(HDC dc, const RECT& area) const;
    void DrawAimWindow(HDC dc, const RECT& window) const;
    void DrawLamps(HDC dc, const RECT& row) const;

    bool m_hasReport;
    GunReport m_report;

    DECLARE_MESSAGE_MAP()
};
