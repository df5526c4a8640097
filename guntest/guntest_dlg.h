// Gun Test's one window: a live view of the gun, read on its own link.
#pragma once

#include "calibration/calibration.h"
#include "framework/framework.h"
#include "guntest/aim_picture.h"
#include "guntest/calibration_screen.h"
#include "guntest/fact_line.h"
#include "guntest/gun_watch.h"
#include "guntest/play_choices.h"
#include "pointer/aim_mapping.h"

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
    // The watch looked at the gun: the window, and the calibration screen while it runs.
    void ShowLook();
    void ShowGunState();
    void ShowGlimmerdotNote();

    // The calibration in force, made and undone (calibration_control.cpp)
    void OnCalibrate();
    void OnResetCalibration();
    // Read again, as Glimmerdot would at its next Start; `note` follows the line.
    void ReloadCalibration(const char* note);

    // The play settings' controls, Save and Defaults (play_panel.cpp)
    void InitPlayPanel();
    void ShowPlayPanel(const PlayPanel& panel);
    void OnPlayChosen(UINT id);
    void OnSavePlay();
    void OnPlayDefaults();

private:
    enum { kStatus, kRaw, kButtonBytes, kHeld, kCursor, kReadRate, kCalibrationLine, kPress, kFactCount };

    HICON m_icon;
    CGunWatch m_watch;
    Calibration m_calibration;
    AimScale m_screen;
    // The calibration screen while it runs over this window, else NULL.
    CCalibrationScreen* m_calibrating;
    FactLine m_facts[kFactCount];
    bool m_glimmerdotNoted;
    CAimPicture m_picture;
    // What the play settings' controls show: the press line follows them.
    PlaySettings m_play;

    DECLARE_MESSAGE_MAP()
};
