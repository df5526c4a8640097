// The window's controls, its icon while minimised, hiding to the tray and the logo link.
#include "panel/converter_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "res/resource.h"

namespace {

const int kAssignmentLists[] = { IDC_LEFT_BUTTON, IDC_MIDDLE_BUTTON, IDC_RIGHT_BUTTON };

const int kSpeedMin = 2;
const int kSpeedMax = 120;

// "www." is what makes the shell take a bare host name for a web address.
const char kWebAddress[] = "www.glimmerdot.example";

} // namespace

void CConverterDlg::SetSpeedRange()
{
    SendDlgItemMessage(IDC_SPEED_SLIDER, TBM_SETRANGEMIN, TRUE, kSpeedMin);
    SendDlgItemMessage(IDC_SPEED_SLIDER, TBM_SETRANGEMAX, TRUE, kSpeedMax);
}

void CConverterDlg::FillAssignmentLists()
{
    // The item index is the ButtonAssignment value: item 0, empty, is "no gun
    // button", item i names button pattern i - 1.
    for (int index = 0; index <= kLabelledButtonCount; ++index) {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<LPSTR>(ButtonLabel(index - 1));
        for (int list : kAssignmentLists)
            SendDlgItemMessage(list, CBEM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
}

// An assignment above the last item leaves its list without a selection; the
// slider keeps a loaded speed within its range.
void CConverterDlg::ShowSettings()
{
    SendDlgItemMessage(IDC_LEFT_BUTTON, CB_SETCURSEL, settings.left);
    SendDlgItemMessage(IDC_MIDDLE_BUTTON, CB_SETCURSEL, settings.middle);
    SendDlgItemMessage(IDC_RIGHT_BUTTON, CB_SETCURSEL, settings.right);
    SendDlgItemMessage(IDC_SPEED_SLIDER, TBM_SETPOS, TRUE, settings.speed);
}

void CConverterDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, icon);
}

HCURSOR CConverterDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(icon);
}

// Minimised, the window leaves the screen and the task bar; the tray icon brings it back.
void CConverterDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (type == SIZE_MINIMIZED)
        ShowWindow(SW_HIDE);
}

// The logo takes no mouse input itself, so the dialog sees the mouse over it.
BOOL CConverterDlg::IsOverLogo(CPoint point) const
{
    HWND child = ChildWindowFromPoint(point);
    return child != nullptr && child != m_hWnd && ::GetDlgCtrlID(child) == IDC_LOGO;
}

void CConverterDlg::OnMouseMove(UINT flags, CPoint point)
{
    if (IsOverLogo(point))
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
    CDialog::OnMouseMove(flags, point);
}

void CConverterDlg::OnLButtonDown(UINT flags, CPoint point)
{
    if (IsOverLogo(point))
        ::ShellExecuteA(m_hWnd, "Open", kWebAddress, nullptr, nullptr, SW_SHOW);
    CDialog::OnLButtonDown(flags, point);
}

void CConverterDlg::OnCancel()
{
    CDialog::OnCancel();
}
