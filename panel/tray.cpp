// The notification-area icon: how a window hidden by minimising comes back.
#include "panel/converter_dlg.h"

#include <shellapi.h>

#include "res/resource.h"

namespace {

const UINT kTrayIconId = 1;

// The shell-version-5 record, 128-character tip; MinGW's struct is longer.
const DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "32-bit ANSI version-5 NOTIFYICONDATAA");

const char kTrayTip[] = "VEY Lumipoint";

NOTIFYICONDATAA TrayRecord(HWND window)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = kTrayRecordSize;
    record.hWnd = window;
    record.uID = kTrayIconId;
    return record;
}

// Owns a menu loaded for one popup.
class LoadedMenu {
public:
    explicit LoadedMenu(HMENU menu) : m_menu(menu) {}
    ~LoadedMenu()
    {
        if (m_menu != nullptr)
            ::DestroyMenu(m_menu);
    }
    HMENU get() const { return m_menu; }

    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;

private:
    HMENU m_menu;
};

} // namespace

const UINT CConverterDlg::s_taskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");

void CConverterDlg::AddTrayIcon()
{
    NOTIFYICONDATAA record = TrayRecord(m_hWnd);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_NOTIFY;
    // The small icon's size for the scale the system had at sign-in, the one
    // the notification area draws at; it stays as long as the program does.
    if (!trayIcon.IsValid()) {
        trayIcon.Reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                        IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    }
    record.hIcon = trayIcon.Get();
    static_assert(sizeof kTrayTip <= sizeof record.szTip, "the tip fits");
    // cppcheck-suppress lstrcpynACalled ; a constant that fits, as asserted above
    ::lstrcpynA(record.szTip, kTrayTip, sizeof record.szTip);
    ::Shell_NotifyIconA(NIM_ADD, &record);
}

void CConverterDlg::RemoveTrayIcon()
{
    NOTIFYICONDATAA record = TrayRecord(m_hWnd);
    record.uFlags = NIF_ICON;
    ::Shell_NotifyIconA(NIM_DELETE, &record);
}

// A restarted shell, or one that came up after us, has no icon of ours yet.
LRESULT CConverterDlg::OnTaskbarCreated(WPARAM, LPARAM)
{
    AddTrayIcon();
    return 0;
}

LRESULT CConverterDlg::OnTrayNotify(WPARAM, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_RBUTTONUP:
        ShowTrayMenu();
        break;
    case WM_LBUTTONDBLCLK:
        ShowWindow(SW_SHOW);
        ShowWindow(SW_RESTORE);
        SetForegroundWindow();
        break;
    default:
        break;
    }
    return 1;
}

// The chosen item comes back as a WM_COMMAND.
void CConverterDlg::ShowTrayMenu()
{
    LoadedMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow();
    ::TrackPopupMenu(popup, TPM_RIGHTALIGN, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

// Shown as it was left: a minimised window comes back as a task-bar button.
void CConverterDlg::OnMenuSetting()
{
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
}
