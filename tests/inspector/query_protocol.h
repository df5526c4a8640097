// What the inspector asks of the hook placed in the inspected program's thread.
// Questions that need the program's own memory (texts behind pointers, the
// dialog's font) are answered from inside it, so no other process's memory
// is ever read or written.
#pragma once

#include <windows.h>

// The registered message the inspector sends to the dialog: wParam is the
// window that receives the answer as WM_COPYDATA, lParam a QueryParam.
#define INSPECTOR_QUERY_MESSAGE "InspectorQuery"
#define INSPECTOR_HOOK_PROC "InspectorCallWndProc"

enum QueryKind : BYTE {
    kQueryComboItem = 1,   // control, index -> the item's text
    kQueryDroppedRect = 2, // control -> "l,t,r,b" of the dropped list, dialog client pixels
    kQueryBaseUnits = 3,   // -> "x,y": pixels for 4 by 8 dialog units
};

inline LPARAM QueryParam(QueryKind kind, int control, int index)
{
    return static_cast<LPARAM>(kind) | (static_cast<LPARAM>(control & 0xFFFF) << 8) |
           (static_cast<LPARAM>(index & 0xFF) << 24);
}
inline QueryKind QueryKindOf(LPARAM param) { return static_cast<QueryKind>(param & 0xFF); }
inline int QueryControlOf(LPARAM param) { return static_cast<int>((param >> 8) & 0xFFFF); }
inline int QueryIndexOf(LPARAM param) { return static_cast<int>((param >> 24) & 0xFF); }
