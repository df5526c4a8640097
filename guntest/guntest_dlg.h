// Gun Test's one window: a live view of the gun, read on its own link.
#pragma once

#include "framework/framework.h"
#include "guntest/aim_picture.h"
#include "guntest/fact_lines.h"
#include "guntest/gun_watch.h"
#include "pointer/aim_mapping.h"

// A static control's text, sent to the control only when it changes.
struct FactLine {
    int id;
    char shown[kFactTextSize];
};

class CGunTestDlg : public CDialog {
public:
    CGunTestDlg();
    ~CGunTestDlg() override;

protected:
    // Frame (guntest_dlg.cpp)
    BOOL OnInitDialog() override;
    void OnDestroy();
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    void OnDisplayChange(UINT bitsPerPixel, int cx, int cy);

    // The gun's state on the window (gun_status.cpp)
    void OnTimer(UINT id);
    void ShowGunState();
    void ShowGlimmerdotNote();
    void ShowFact(FactLine& line, const char* text);

private:
    enum { kStatus, kRaw, kButtonBytes, kHeld, kCursor, kReadRate, kFactCount };

    HICON m_icon;
    CGunWatch m_watch;
    AimScale m_screen;
    FactLine m_facts[kFactCount];
    bool m_glimmerdotNoted;
    CAimPicture m_picture;

    DECLARE_MESSAGE_MAP()
};
