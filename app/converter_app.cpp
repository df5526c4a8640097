#include "app/converter_app.h"

#include "panel/converter_dlg.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CConverterApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CConverterApp::CConverterApp() : CWinApp(nullptr)
{
}

CConverterApp theApp;

// The whole life of the program is the modal dialog; FALSE then ends it
// without a message pump of its own.
BOOL CConverterApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    CConverterDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog ends with this scope; nothing may reach it through the app after.
    m_pMainWnd = nullptr;
    return FALSE;
}
