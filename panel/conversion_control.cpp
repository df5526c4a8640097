// Start, Stop and the poll tick that drives the gun to the pointer.
#include "panel/converter_dlg.h"

#include <commctrl.h>

#include "calibration/calibration_store.h"
#include "pointer/play_settings.h"
#include "res/resource.h"

static_assert(kAimPeriods[0] == POLL_INTERVAL_MS, "with no play settings stored the poll keeps its period");

void CConverterDlg::OnStart()
{
    // A list without a selection answers -1, which becomes 255: no gun button.
    settings.left = static_cast<BYTE>(SendDlgItemMessage(IDC_LEFT_BUTTON, CB_GETCURSEL));
    settings.middle = static_cast<BYTE>(SendDlgItemMessage(IDC_MIDDLE_BUTTON, CB_GETCURSEL));
    settings.right = static_cast<BYTE>(SendDlgItemMessage(IDC_RIGHT_BUTTON, CB_GETCURSEL));
    settings.zero = 0;
    settings.speed = static_cast<BYTE>(SendDlgItemMessage(IDC_SPEED_SLIDER, TBM_GETPOS));
    SaveSettings();

    if (!device.Open(m_hWnd))
        return;

    ::EnableWindow(GetDlgItem(IDC_START), FALSE);
    ::EnableWindow(GetDlgItem(IDC_STOP), TRUE);
    emulator.SetAssignments(settings.left, settings.middle, settings.right);
    // A calibration saved since the last Start takes effect now; an unreadable
    // one leaves the default in `calibration`.
    Calibration calibration;
    LoadCalibration(calibration);
    emulator.UseCalibration(calibration);
    // Likewise the play settings; a malformed value leaves the defaults.
    PlaySettings play;
    LoadPlaySettings(play);
    emulator.UsePlaySettings(play);
    SetTimer(POLL_TIMER_ID, play.periodMs, nullptr);
}

void CConverterDlg::StopConversion()
{
    KillTimer(POLL_TIMER_ID);
    ::EnableWindow(GetDlgItem(IDC_STOP), FALSE);
    ::EnableWindow(GetDlgItem(IDC_START), TRUE);
    // No poll will come to let go of a press the last one sent down.
    emulator.ReleaseHeldButton();
}

void CConverterDlg::OnStop()
{
    StopConversion();
}

// The new choice takes effect at the next Start, which reads the lists again.
void CConverterDlg::OnAssignmentChanged(UINT)
{
    StopConversion();
}

void CConverterDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    StopConversion();
    CWnd::OnHScroll(code, pos, bar);
}

void CConverterDlg::OnTimer(UINT)
{
    WORD rawX = 0;
    WORD rawY = 0;
    ButtonEdges edges;
    if (device.Poll(rawX, rawY, edges))
        emulator.Update(rawX, rawY, edges);
    // Unplugged, or reads kept failing and the gun was let go: no poll will
    // lift what is held.
    else if (!device.IsOpen())
        emulator.ReleaseHeldButton();
    Default();
}

// The system broadcasts this whenever any device comes or goes; only a closed
// link (the gun was pulled out) needs anything. It also sends it about the
// gun's own handle when it wants the gun: let go and stop, but open it again
// only at a later notice or Start, once Windows is done with it. TRUE grants
// a removal.
LRESULT CConverterDlg::OnDeviceChange(WPARAM event, LPARAM data)
{
    if (device.LetGoWhenAsked(event, data)) {
        StopConversion();
    } else if (!device.IsOpen()) {
        StopConversion();
        device.Open(m_hWnd);
    }
    return TRUE;
}

// Games switch the display to a mode of their own and back; the cursor must
// follow the gun over whichever mode is on. The size is read from the screen
// itself, as at start-up, and the next poll places the cursor.
void CConverterDlg::OnDisplayChange(UINT bitsPerPixel, int cx, int cy)
{
    CDialog::OnDisplayChange(bitsPerPixel, cx, cy);
    emulator.ReadScreenSize();
}
