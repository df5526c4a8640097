// inspector_hook.dll: loaded into the inspected program's GUI thread by a
// WH_CALLWNDPROC hook; answers the inspector's questions from inside.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "query_protocol.h"

namespace {

// dwData 1 = answered, 0 = could not answer.
void Reply(HWND dialog, HWND replyTo, bool answered, const char* text)
{
    COPYDATASTRUCT data = {};
    data.dwData = answered ? 1 : 0;
    data.cbData = static_cast<DWORD>(lstrlenA(text)) + 1;
    data.lpData = const_cast<char*>(text);
    ::SendMessageA(replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(dialog), reinterpret_cast<LPARAM>(&data));
}

void Answer(HWND dialog, HWND replyTo, LPARAM question)
{
    char text[300] = "";
    HWND control = ::GetDlgItem(dialog, QueryControlOf(question));
    switch (QueryKindOf(question)) {
    case kQueryComboItem: {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = QueryIndexOf(question);
        item.pszText = text;
        item.cchTextMax = sizeof text;
        char kind[16] = "";
        if (control != nullptr)
            ::GetClassNameA(control, kind, sizeof kind);
        // A plain list answers its own message; its items are short.
        const bool plain = lstrcmpiA(kind, "ComboBox") == 0;
        const bool got = plain ? ::SendMessageA(control, CB_GETLBTEXT, item.iItem, reinterpret_cast<LPARAM>(text)) != CB_ERR
                               : control != nullptr && ::SendMessageA(control, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        // The list may hand back its own text pointer rather than copy.
        if (got && item.pszText != text && item.pszText != nullptr)
            lstrcpynA(text, item.pszText, sizeof text);
        Reply(dialog, replyTo, got, text);
        return;
    }
    case kQueryDroppedRect: {
        RECT rect = {};
        // Some combo boxes answer 0 (CB_OKAY) for success: judge by the rectangle.
        if (control != nullptr)
            ::SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
        const bool got = rect.bottom > rect.top;
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
        Reply(dialog, replyTo, got, text);
        return;
    }
    case kQueryBaseUnits: {
        RECT units = {0, 0, 4, 8};
        const bool got = ::MapDialogRect(dialog, &units) != FALSE;
        std::snprintf(text, sizeof text, "%ld,%ld", units.right, units.bottom);
        Reply(dialog, replyTo, got, text);
        return;
    }
    }
    Reply(dialog, replyTo, false, "");
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK InspectorCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT query = ::RegisterWindowMessageA(INSPECTOR_QUERY_MESSAGE);
    if (code == HC_ACTION) {
        const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message.message == query)
            Answer(message.hwnd, reinterpret_cast<HWND>(message.wParam), message.lParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
