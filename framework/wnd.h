// A window handle with the calls the program makes on it, and message routing
// through the class's map.
#pragma once

#include "framework/cmd_target.h"
#include "framework/geometry.h"

class CScrollBar;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

    HWND GetDlgItem(int id) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL ShowWindow(int command);
    BOOL IsIconic() const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR id);
    void GetClientRect(LPRECT rect) const;
    HWND ChildWindowFromPoint(POINT point) const;
    BOOL SetForegroundWindow();
    void Invalidate(BOOL erase = TRUE);
    // Takes over dialog control `id` of `parent`: its messages then pass
    // through this object's map first.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    HWND m_hWnd = nullptr;

protected:
    // Default processing of the message being handled now.
    LRESULT Default();

    // What each message gets without a handler of the derived class.
    void OnPaint() { Default(); }
    void OnDestroy() { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnDisplayChange(UINT, int, int) { Default(); }
    BOOL OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }

    // Puts `proc` in front of the window's own procedure, which Default() then reaches.
    void Subclass(HWND hWnd, WNDPROC proc);
    // What a subclassing procedure does with a message for the object it found.
    static LRESULT Route(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Every message of a subclassed window passes through here.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // The window procedure the window had before it was subclassed.
    WNDPROC m_superWndProc = ::DefWindowProcA;

private:
    static LRESULT CALLBACK SubclassedControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    Message m_current = {};
};

// Only the handle: the trackbar that sent a WM_HSCROLL.
class CScrollBar : public CWnd {
public:
    explicit CScrollBar(HWND hWnd) : CWnd(hWnd) {}
};
