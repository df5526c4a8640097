// The baseline for the start-up and memory figures: the program's own dialog
// template shown by nothing more than DialogBoxParamA, built like Glimmerdot.exe.
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"

static INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
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
