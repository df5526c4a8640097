// The baselines for the start-up and memory figures: the program's own dialog
// template shown by nothing more than DialogBoxParamA, built like
// Glimmerdot.exe. Built a second time with BARE_DIALOG_TRAY_ICON, it also adds
// Glimmerdot's tray icon in WM_INITDIALOG, so that what the icon costs is not
// counted as ours.
#include <windows.h>
#include <commctrl.h>
#ifdef BARE_DIALOG_TRAY_ICON
#include <shellapi.h>
#endif

#include "res/resource.h"

#ifdef BARE_DIALOG_TRAY_ICON
namespace {

// The record Glimmerdot adds and removes (its size, identifier, flags, icon and tip).
NOTIFYICONDATAA TrayRecord(HWND dialog)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = dialog;
    record.uID = 1;
    return record;
}

void AddTrayIcon(HWND dialog)
{
    NOTIFYICONDATAA record = TrayRecord(dialog);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_NOTIFY;
    record.hIcon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
    // cppcheck-suppress lstrcpynACalled ; a constant shorter than the tip's 128 characters
    lstrcpynA(record.szTip, "VEY Lumipoint", sizeof record.szTip);
    Shell_NotifyIconA(NIM_ADD, &record);
}

void RemoveTrayIcon(HWND dialog)
{
    NOTIFYICONDATAA record = TrayRecord(dialog);
    record.uFlags = NIF_ICON;
    Shell_NotifyIconA(NIM_DELETE, &record);
}

}  // namespace
#endif

static INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
#ifdef BARE_DIALOG_TRAY_ICON
        AddTrayIcon(dialog);
#endif
        return TRUE;
#ifdef BARE_DIALOG_TRAY_ICON
    case WM_DESTROY:
        RemoveTrayIcon(dialog);
        break;
#endif
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The template's trackbar and extended combo boxes need their classes first.
    INITCOMMONCONTROLSEX classes = { sizeof(classes), ICC_BAR_CLASSES | ICC_USEREX_CLASSES };
    InitCommonControlsEx(&classes);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONTROL_PANEL), NULL, BareDialogProc, 0);
    return 0;
}
