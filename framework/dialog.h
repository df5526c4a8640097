// A modal dialog built on a template resource. Its object pointer lives in the
// window's DWLP_USER; the window is subclassed so that handlers can ask for the
// dialog manager's default processing at any point.
#pragma once

#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog's own message loop until it ends; the value passed to EndDialog.
    virtual INT_PTR DoModal();

protected:
    // TRUE: the dialog manager gives the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL OnCmdMsg(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL HandleInitDialog(HWND hWnd);
    BOOL TemplateGivesPosition() const;
    void CenterWindow();

    UINT m_templateId;
    CWnd* m_parent;

    DECLARE_MESSAGE_MAP()
};
