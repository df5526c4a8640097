#include "framework/wnd.h"

HWND CWnd::GetDlgItem(int id) const
{
    return ::GetDlgItem(m_hWnd, id);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    return ::SetTimer(m_hWnd, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

HWND CWnd::ChildWindowFromPoint(POINT point) const
{
    return ::ChildWindowFromPoint(m_hWnd, point);
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

void CWnd::Invalidate(BOOL erase)
{
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->m_hWnd, id);
    if (control == nullptr)
        return FALSE;
    // A control's user data is the program's own, unlike a dialog's DWLP_USER.
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Subclass(control, SubclassedControlProc);
    return TRUE;
}

LRESULT CALLBACK CWnd::SubclassedControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Route(reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA)), message, wParam, lParam);
}

void CWnd::Subclass(HWND hWnd, WNDPROC proc)
{
    m_hWnd = hWnd;
    m_superWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

LRESULT CWnd::Route(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    // The handle ends with this message; the object may live on.
    if (message == WM_NCDESTROY)
        wnd->m_hWnd = nullptr;
    return result;
}

LRESULT CWnd::Default()
{
    return ::CallWindowProcA(m_superWndProc, m_hWnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Handlers may send messages to this window; each level keeps its own.
    const Message outer = m_current;
    m_current = Message{message, wParam, lParam};

    LRESULT result = 0;
    const BOOL handled = message == WM_COMMAND ? OnCommand(wParam, lParam)
                                               : DispatchToMap(message, wParam, lParam, result);
    if (!handled)
        result = Default();

    m_current = outer;
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT code = HIWORD(wParam);
    // An accelerator is the same command as its menu item.
    if (lParam == 0 && code == 1)
        code = 0;
    return OnCmdMsg(LOWORD(wParam), code, wParam, lParam);
}
