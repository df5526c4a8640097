// The one application object: the entry point finds it and runs InitInstance.
#pragma once

#include "framework/cmd_target.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    // TRUE keeps the program running on a message pump of its own; FALSE ends it.
    virtual BOOL InitInstance();
    int Run();

    HICON LoadIcon(UINT id) const;

    LPCSTR m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

protected:
    // The system draws controls in 3-D itself.
    BOOL Enable3dControls() { return TRUE; }

    // There is no help file.
    void OnHelp() {}
};

CWinApp* AfxGetApp();
// Where the program's resources are: its own module.
HINSTANCE AfxGetResourceHandle();
// No ActiveX controls are hosted.
inline void AfxEnableControlContainer() {}
