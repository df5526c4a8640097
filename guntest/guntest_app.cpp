#include "guntest/guntest_app.h"

#include "guntest/guntest_dlg.h"

CGunTestApp::CGunTestApp() : CWinApp(nullptr)
{
}

CGunTestApp theApp;

// The whole life of the program is the modal dialog.
BOOL CGunTestApp::InitInstance()
{
    CGunTestDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
