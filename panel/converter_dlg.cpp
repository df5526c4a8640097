#include "panel/converter_dlg.h"

#include "panel/message_filter.h"
#include "panel/settings_store.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CConverterDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_WM_HSCROLL()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(IDC_START, OnStart)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_WM_TIMER()
    ON_COMMAND(ID_TRAY_EXIT, OnCancel)
    ON_COMMAND(ID_TRAY_SETTING, OnMenuSetting)
    ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_LEFT_BUTTON, IDC_RIGHT_BUTTON, OnAssignmentChanged)
    ON_MESSAGE(WM_DEVICECHANGE, OnDeviceChange)
    ON_WM_DISPLAYCHANGE()
    ON_REGISTERED_MESSAGE(s_taskbarCreatedMessage, OnTaskbarCreated)
END_MESSAGE_MAP()

CConverterDlg::CConverterDlg()
    : CDialog(IDD_CONTROL_PANEL, nullptr), icon(nullptr), settings()
{
    icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

// The icon is shared from the module's resources and is not destroyed.
CConverterDlg::~CConverterDlg() = default;

BOOL CConverterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    // Run as administrator, the window must still hear a restarted Explorer.
    LetMessageThroughPrivilegeFilter(m_hWnd, s_taskbarCreatedMessage);
    AddTrayIcon();
    SetSpeedRange();
    FillAssignmentLists();
    LoadSettings();
    ShowSettings();
    return TRUE;
}

void CConverterDlg::LoadSettings()
{
    LoadConverterSettings(settings);
}

void CConverterDlg::SaveSettings()
{
    SaveConverterSettings(settings);
}

void CConverterDlg::OnDestroy()
{
    CWnd::OnDestroy();
    RemoveTrayIcon();
    // A press the last poll sent down must not outlive the program.
    emulator.ReleaseHeldButton();
}
