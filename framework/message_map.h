// Static message maps in MFC's shape. Each entry holds a captureless thunk that
// unpacks the message and calls the handler with its typed signature, so the
// compiler checks every handler and no member pointer is ever cast.
#pragma once

#include "framework/platform.h"

class CCmdTarget;

typedef void (*MessageThunk)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT& result);

struct MessageMapEntry {
    UINT message;                  // 0 when registeredMessage names it
    UINT code;                     // WM_COMMAND notification code
    UINT firstId;                  // WM_COMMAND control or command id range
    UINT lastId;
    const UINT* registeredMessage; // a RegisterWindowMessage result, known only at run time
    MessageThunk thunk;            // nullptr ends the table
};

struct MessageMap {
    const MessageMap* (*base)();   // nullptr at the root
    const MessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const MessageMap* GetThisMessageMap();   \
    const MessageMap* GetMessageMap() const override;

// The table is a local static of a member function, so the thunks may call
// protected handlers.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap()                             \
    {                                                                           \
        typedef theClass ThisClass;                                             \
        typedef baseClass TheBaseClass;                                         \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                       \
            { 0, 0, 0, 0, nullptr, nullptr }                                    \
        };                                                                      \
        static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                            \
    }

#define AFX_THUNK(...)                                                          \
    [](CCmdTarget* target, [[maybe_unused]] WPARAM wParam,                      \
       [[maybe_unused]] LPARAM lParam, [[maybe_unused]] LRESULT& result) {      \
        ThisClass* self = static_cast<ThisClass*>(target);                      \
        __VA_ARGS__;                                                            \
    }

#define AFX_WINDOW_ENTRY(message, ...) { message, 0, 0, 0, nullptr, AFX_THUNK(__VA_ARGS__) },

#define ON_WM_PAINT()        AFX_WINDOW_ENTRY(WM_PAINT, self->OnPaint())
#define ON_WM_QUERYDRAGICON() \
    AFX_WINDOW_ENTRY(WM_QUERYDRAGICON, result = reinterpret_cast<LRESULT>(self->OnQueryDragIcon()))
#define ON_WM_ERASEBKGND() \
    AFX_WINDOW_ENTRY(WM_ERASEBKGND, result = self->OnEraseBkgnd(reinterpret_cast<HDC>(wParam)))
#define ON_WM_DESTROY()      AFX_WINDOW_ENTRY(WM_DESTROY, self->OnDestroy())
#define ON_WM_HSCROLL() \
    AFX_WINDOW_ENTRY(WM_HSCROLL, CScrollBar bar(reinterpret_cast<HWND>(lParam)); \
        self->OnHScroll(LOWORD(wParam), HIWORD(wParam), lParam ? &bar : nullptr))
#define ON_WM_SIZE() \
    AFX_WINDOW_ENTRY(WM_SIZE, self->OnSize(UINT(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_MOUSEMOVE() \
    AFX_WINDOW_ENTRY(WM_MOUSEMOVE, self->OnMouseMove(UINT(wParam), CPoint(lParam)))
#define ON_WM_LBUTTONDOWN() \
    AFX_WINDOW_ENTRY(WM_LBUTTONDOWN, self->OnLButtonDown(UINT(wParam), CPoint(lParam)))
#define ON_WM_TIMER()        AFX_WINDOW_ENTRY(WM_TIMER, self->OnTimer(UINT(wParam)))
#define ON_WM_DISPLAYCHANGE() \
    AFX_WINDOW_ENTRY(WM_DISPLAYCHANGE, self->OnDisplayChange(UINT(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_MESSAGE(message, memberFxn) \
    AFX_WINDOW_ENTRY(message, result = self->memberFxn(wParam, lParam))

#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn) \
    { 0, 0, 0, 0, &messageVariable, AFX_THUNK(result = self->memberFxn(wParam, lParam)) },

#define ON_CONTROL(code, id, memberFxn) \
    { WM_COMMAND, UINT(code), UINT(id), UINT(id), nullptr, AFX_THUNK(self->memberFxn()) },
#define ON_COMMAND(id, memberFxn)     ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn)  ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CONTROL_RANGE(code, firstId, lastId, memberFxn)                      \
    { WM_COMMAND, UINT(code), UINT(firstId), UINT(lastId), nullptr,             \
      AFX_THUNK(self->memberFxn(UINT(LOWORD(wParam)))) },
