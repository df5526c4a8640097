#include "guntest/guntest_dlg.h"

#include "guntest/guntest_ids.h"

BEGIN_MESSAGE_MAP(CGunTestDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_DEVICECHANGE, OnDeviceChange)
    ON_WM_DISPLAYCHANGE()
    ON_BN_CLICKED(IDC_CALIBRATE, OnCalibrate)
    ON_BN_CLICKED(IDC_RESET_CALIBRATION, OnResetCalibration)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_PLAY_OFF_SCREEN, IDC_PLAY_X2, OnPlayChosen)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_PLAY_RAW_INPUT, IDC_PLAY_RAW_INPUT, OnPlayChosen)
    ON_BN_CLICKED(IDC_PLAY_SAVE, OnSavePlay)
    ON_BN_CLICKED(IDC_PLAY_DEFAULTS, OnPlayDefaults)
END_MESSAGE_MAP()

namespace {
const int kFactIds[] = {IDC_GUN_STATUS, IDC_GUN_RAW, IDC_GUN_BUTTON_BYTES, IDC_GUN_HELD, IDC_GUN_CURSOR,
                        IDC_GUN_READ_RATE, IDC_CALIBRATION_LINE, IDC_PRESS_LINE};
}

CGunTestDlg::CGunTestDlg()
    : CDialog(IDD_GUN_TEST, nullptr), m_icon(nullptr), m_calibration(DefaultCalibration()), m_screen(),
      m_calibrating(nullptr), m_facts(), m_glimmerdotNoted(false), m_play(DefaultPlaySettings())
{
    m_icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    for (int i = 0; i < kFactCount; ++i)
        m_facts[i].id = kFactIds[i];
}

// The icon is shared from the module's resources and is not destroyed.
CGunTestDlg::~CGunTestDlg() = default;

BOOL CGunTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    m_picture.SubclassDlgItem(IDC_AIM_PICTURE, this);
    ReloadCalibration("");
    // The token does not change while the program runs: told once.
    char settings[kFactTextSize];
    FormatSettingsLine(ReadSettingsCopy(), settings);
    ::SetDlgItemTextA(m_hWnd, IDC_SETTINGS_LINE, settings);
    InitPlayPanel();

    // The first look happens now, not a tick later.
    m_watch.NoticesTo(m_hWnd);
    m_watch.Tick(::GetTickCount());
    ShowGunState();
    SetTimer(WATCH_TIMER_ID, WATCH_INTERVAL_MS, nullptr);
    return TRUE;
}

void CGunTestDlg::OnDestroy()
{
    KillTimer(WATCH_TIMER_ID);
    CWnd::OnDestroy();
}

// The system broadcasts this whenever any device comes or goes, and sends it
// about the gun's own handle when it wants the gun. TRUE grants a removal.
LRESULT CGunTestDlg::OnDeviceChange(WPARAM event, LPARAM data)
{
    m_watch.OnDeviceChange(::GetTickCount(), event, data);
    ShowLook();
    return TRUE;
}

void CGunTestDlg::OnDisplayChange(UINT bitsPerPixel, int cx, int cy)
{
    CDialog::OnDisplayChange(bitsPerPixel, cx, cy);
    m_screen = ReadCalibratedAimScale(m_calibration);
    if (m_calibrating != nullptr)
        m_calibrating->LookAtDisplay();
    ShowGunState();
}
