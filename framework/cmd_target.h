// The root of every class that answers messages or commands through a map.
#pragma once

#include "framework/message_map.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler mapped to command `id` with notification `code`; FALSE if none is.
    virtual BOOL OnCmdMsg(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

protected:
    CCmdTarget() = default;

    // Runs the handler mapped to `message`; FALSE if none is.
    BOOL DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

private:
    // Searches this class's map first, then each base class's in turn.
    const MessageMapEntry* FindEntry(UINT message, UINT code, UINT id) const;
};
