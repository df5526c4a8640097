#include "panel/message_filter.h"

namespace {

// As winuser.h declares them for Windows 7 and Vista; the build targets older.
typedef BOOL(WINAPI* ChangeWindowMessageFilterExFn)(HWND, UINT, DWORD, void*);
typedef BOOL(WINAPI* ChangeWindowMessageFilterFn)(UINT, DWORD);
const DWORD kFilterAllow = 1;  // MSGFLT_ALLOW, per window
const DWORD kFilterAdd = 1;    // MSGFLT_ADD, per process

// GetProcAddress hands back one function type for all; the generic function
// pointer type converts to any other without a cast-function-type warning.
typedef void (*AnyFunction)();

}  // namespace

void LetMessageThroughPrivilegeFilter(HWND window, UINT message) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == NULL) return;
    if (FARPROC perWindow = GetProcAddress(user32, "ChangeWindowMessageFilterEx")) {
        reinterpret_cast<ChangeWindowMessageFilterExFn>(reinterpret_cast<AnyFunction>(perWindow))(
            window, message, kFilterAllow, NULL);
        return;
    }
    if (FARPROC perProcess = GetProcAddress(user32, "ChangeWindowMessageFilter"))
        reinterpret_cast<ChangeWindowMessageFilterFn>(reinterpret_cast<AnyFunction>(perProcess))(message, kFilterAdd);
}
