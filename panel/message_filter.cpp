#include "panel/message_filter.h"

#include "framework/user32_function.h"

namespace {

// As winuser.h declares them for Windows 7 and Vista; the build targets older.
typedef BOOL(WINAPI* ChangeWindowMessageFilterExFn)(HWND, UINT, DWORD, void*);
typedef BOOL(WINAPI* ChangeWindowMessageFilterFn)(UINT, DWORD);
const DWORD kFilterAllow = 1;  // MSGFLT_ALLOW, per window
const DWORD kFilterAdd = 1;    // MSGFLT_ADD, per process

}  // namespace

void LetMessageThroughPrivilegeFilter(HWND window, UINT message) {
    if (ChangeWindowMessageFilterExFn perWindow =
            FindUser32Function<ChangeWindowMessageFilterExFn>("ChangeWindowMessageFilterEx")) {
        perWindow(window, message, kFilterAllow, NULL);
        return;
    }
    if (ChangeWindowMessageFilterFn perProcess =
            FindUser32Function<ChangeWindowMessageFilterFn>("ChangeWindowMessageFilter"))
        perProcess(message, kFilterAdd);
}
