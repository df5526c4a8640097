// The calibration screen's window: placed over the display, its lines kept
// up to date, the target painted, the keys the flow answers to.
#include "guntest/calibration_screen.h"

#include "calibration/calibration_store.h"
#include "guntest/guntest_ids.h"
#include "guntest/memory_dc.h"
#include "guntest/window_dpi.h"
#include "pointer/display_rect.h"

BEGIN_MESSAGE_MAP(CCalibrationScreen, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_ACTIVATE, OnActivate)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

namespace {

const int kLineIds[] = {IDC_CALIBRATION_STEP, IDC_CALIBRATION_TARGET, IDC_CALIBRATION_CHECK, IDC_CALIBRATION_NOTE,
                        IDC_CALIBRATION_HELP};
const int kLineCountAll = sizeof kLineIds / sizeof kLineIds[0];

const COLORREF kText = RGB(255, 255, 255);
const COLORREF kTargetRing = RGB(255, 64, 64);
// At 100 %; drawn at the display's scale.
const int kTargetArm = 32;
const int kTargetRadius = 16;

// The display `owner` is on, in virtual-screen coordinates, and its name;
// the primary display's size should the system not say.
RECT DisplayOf(HWND owner, char* device, int size)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    info.rcMonitor = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &info);
    // cppcheck-suppress lstrcpynACalled ; bounded by the buffer's size, and always terminated
    ::lstrcpynA(device, info.szDevice, size);
    return info.rcMonitor;
}

void FillWith(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

CCalibrationScreen::CCalibrationScreen(CWnd* owner, const GunReport* current)
    : CDialog(IDD_CALIBRATION, owner), m_owner(owner->m_hWnd), m_display(), m_lines(), m_drawnTarget()
{
    char device[kDisplayNameSize];
    m_display = DisplayOf(m_owner, device, sizeof device);
    char monitor[kMonitorNameSize];
    ReadMonitorName(device, monitor);
    m_flow.Begin(m_display, device, monitor, current);
    for (int i = 0; i < kLineCount; ++i)
        m_lines[i].id = kLineIds[i];
}

BOOL CCalibrationScreen::OnInitDialog()
{
    CDialog::OnInitDialog();
    CoverDisplay();
    Show();
    // No control takes the focus: the keys come to the screen itself.
    ::SetFocus(m_hWnd);
    return FALSE;
}

// The whole display, and the lines across its width, between the first
// target and the centre one, in the dialog's font as it now is.
void CCalibrationScreen::CoverDisplay()
{
    ::MoveWindow(m_hWnd, m_display.left, m_display.top, m_display.right - m_display.left,
                 m_display.bottom - m_display.top, FALSE);
    RECT line = {0, 0, 0, 12};
    ::MapDialogRect(m_hWnd, &line);
    const int width = m_display.right - m_display.left;
    const int height = m_display.bottom - m_display.top;
    const int margin = width / 16;
    for (int i = 0; i < kLineCountAll; ++i) {
        ::MoveWindow(GetDlgItem(kLineIds[i]), margin, height / 4 + i * line.bottom, width - 2 * margin, line.bottom,
                     FALSE);
    }
}

void CCalibrationScreen::OnGun(const GunReport* report)
{
    m_flow.OnGun(report);
    LookAtDisplay();
}

// Asked at each tick too: a monitor that goes away need not say so.
void CCalibrationScreen::LookAtDisplay()
{
    char device[kDisplayNameSize];
    const RECT display = DisplayOf(m_owner, device, sizeof device);
    m_flow.OnDisplay(display, device);
    Show();
}

// Windows moved the display to another scale: the dialog manager scales the
// font, and the screen keeps covering its display, whatever rectangle Windows
// suggests, if that display is still the one.
LRESULT CCalibrationScreen::OnDpiChanged(WPARAM, LPARAM)
{
    Default();
    LookAtDisplay();
    CoverDisplay();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

// Enter: keep, at the verdict; otherwise nothing.
void CCalibrationScreen::OnOK()
{
    m_flow.Keep();
    Show();
}

// The keys are the screen's own: the dialog manager would hand the focus to
// its first line, a static control that drops Backspace.
LRESULT CCalibrationScreen::OnActivate(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) != WA_INACTIVE)
        ::SetFocus(m_hWnd);
    return 0;
}

LRESULT CCalibrationScreen::OnSetFocus(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CCalibrationScreen::OnKeyDown(WPARAM wParam, LPARAM)
{
    if (wParam != VK_BACK)
        return Default();
    m_flow.TryAgain();
    Show();
    return 0;
}

void CCalibrationScreen::Show()
{
    if (m_flow.Step() == kStepEnded) {
        ::EndDialog(m_hWnd, IDCANCEL);
        return;
    }
    if (m_flow.Step() == kStepKept) {
        if (SaveCalibration(m_flow.Result())) {
            ::EndDialog(m_hWnd, IDOK);
            return;
        }
        m_flow.SaveFailed();
    }
    char text[kFactTextSize];
    FormatCalibrationStepLine(m_flow, text);
    ShowFact(m_hWnd, m_lines[kStepLine], text);
    FormatCalibrationTargetLine(m_flow, text);
    ShowFact(m_hWnd, m_lines[kTargetLine], text);
    FormatCalibrationCheckLine(m_flow, text);
    ShowFact(m_hWnd, m_lines[kCheckLine], text);
    FormatCalibrationNoteLine(m_flow, text);
    ShowFact(m_hWnd, m_lines[kNoteLine], text);

    const ScreenPoint target = m_flow.Target();
    if (target.x != m_drawnTarget.x || target.y != m_drawnTarget.y) {
        m_drawnTarget = target;
        Invalidate(FALSE);
    }
}

// Every pixel is painted in OnPaint.
BOOL CCalibrationScreen::OnEraseBkgnd(HDC)
{
    return TRUE;
}

void CCalibrationScreen::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    HDC target = dc.GetSafeHdc();
    FillWith(target, client, RGB(0, 0, 0));

    const int x = m_drawnTarget.x - m_display.left;
    const int y = m_drawnTarget.y - m_display.top;
    const UINT dpi = WindowDpi(m_hWnd);
    const int arm = AtDpi(kTargetArm, dpi);
    const int half = AtDpi(1, dpi);
    FillWith(target, RECT{x - arm, y - half, x + arm + 1, y + half + 1}, kText);
    FillWith(target, RECT{x - half, y - arm, x + half + 1, y + arm + 1}, kText);
    CSelectObject pen(target, ::GetStockObject(DC_PEN));
    CSelectObject brush(target, ::GetStockObject(NULL_BRUSH));
    ::SetDCPenColor(target, kTargetRing);
    const int radius = AtDpi(kTargetRadius, dpi);
    for (int r = radius - half; r <= radius; ++r)
        ::Ellipse(target, x - r, y - r, x + r + 1, y + r + 1);
}

// White text on the black screen.
LRESULT CCalibrationScreen::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, kText);
    ::SetBkColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}
