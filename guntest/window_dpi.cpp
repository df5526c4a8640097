#include "guntest/window_dpi.h"

#include "framework/user32_function.h"

namespace {
typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
}

UINT WindowDpi(HWND window)
{
    GetDpiForWindowFn perWindow = FindUser32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = perWindow != NULL ? perWindow(window) : 0;
    return dpi != 0 ? dpi : kDesignDpi;
}

int AtDpi(int size, UINT dpi)
{
    return (size * static_cast<int>(dpi) + static_cast<int>(kDesignDpi) / 2) / static_cast<int>(kDesignDpi);
}
