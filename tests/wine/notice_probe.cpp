// A hidden top-level window that reports every WM_DEVICECHANGE it receives, to
// show that a broadcast reaches such a window in another process, as it must
// reach the program's dialog while it hides in the tray.
// Prints "ready" once the window exists, then "notice EVENT" (hex) per message;
// ends after COUNT notices (default 1) or SECONDS (default 60).
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

const UINT_PTR kGiveUpTimer = 1;
int g_remaining = 1;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DEVICECHANGE:
        printf("notice %04X\n", static_cast<unsigned>(wParam));
        fflush(stdout);
        if (--g_remaining <= 0)
            DestroyWindow(window);
        return TRUE;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    // NOLINTNEXTLINE(cert-err34-c): the counts come from our own test script
    g_remaining = argc > 1 ? atoi(argv[1]) : 1;
    // NOLINTNEXTLINE(cert-err34-c): as above
    const UINT seconds = argc > 2 ? static_cast<UINT>(atoi(argv[2])) : 60;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "GlimmerNoticeProbe";
    if (!RegisterClassA(&windowClass))
        return 1;
    // Never shown: the dialog hidden in the tray is such a window.
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "notice probe", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, NULL, NULL, windowClass.hInstance, NULL);
    if (!window || !SetTimer(window, kGiveUpTimer, seconds * 1000, NULL))
        return 1;
    printf("ready\n");
    fflush(stdout);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return g_remaining <= 0 ? 0 : 2;
}
