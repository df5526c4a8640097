#include "framework/dialog.h"

#include <commctrl.h>

#include "framework/win_app.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_parent(parent)
{
}

INT_PTR CDialog::DoModal()
{
    // The template names the trackbar and extended combo box classes.
    INITCOMMONCONTROLSEX classes = { sizeof classes, ICC_BAR_CLASSES | ICC_USEREX_CLASSES };
    ::InitCommonControlsEx(&classes);

    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId),
                             m_parent ? m_parent->m_hWnd : nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    ::EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel()
{
    ::EndDialog(m_hWnd, IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCmdMsg(id, code, wParam, lParam))
        return TRUE;
    // As in MFC, a command nobody in the dialog takes goes on to the application.
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    // Everything after WM_INITDIALOG reaches the map through SubclassProc; here
    // FALSE asks the dialog manager for its default.
    if (message != WM_INITDIALOG)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    return reinterpret_cast<CDialog*>(lParam)->HandleInitDialog(hWnd);
}

LRESULT CALLBACK CDialog::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Route(reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER)), message, wParam, lParam);
}

BOOL CDialog::HandleInitDialog(HWND hWnd)
{
    Subclass(hWnd, SubclassProc);

    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    RECT after;
    ::GetWindowRect(m_hWnd, &after);

    // MFC centres a dialog that neither its template nor OnInitDialog placed.
    if (::EqualRect(&before, &after) && !TemplateGivesPosition())
        CenterWindow();
    return result;
}

BOOL CDialog::TemplateGivesPosition() const
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_templateId), RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (bytes == nullptr)
        return FALSE;

    // x and y follow the style words: at 18 in DLGTEMPLATEEX (signature 0xFFFF), at 10 in DLGTEMPLATE.
    const bool extended = reinterpret_cast<const WORD*>(bytes)[1] == 0xFFFF;
    const short* position = reinterpret_cast<const short*>(bytes + (extended ? 18 : 10));
    return position[0] != 0 || position[1] != 0;
}

void CDialog::CenterWindow()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const RECT& area = monitor.rcWork;

    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    // A window larger than the work area keeps its top-left corner on it.
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
