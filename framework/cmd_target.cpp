#include "framework/cmd_target.h"

namespace {

bool Matches(const MessageMapEntry& entry, UINT message, UINT code, UINT id)
{
    const UINT entryMessage = entry.registeredMessage ? *entry.registeredMessage : entry.message;
    // A registration that failed leaves 0, which must not catch WM_NULL.
    if (entryMessage == 0 || entryMessage != message)
        return false;
    if (message != WM_COMMAND)
        return true;
    return entry.code == code && entry.firstId <= id && id <= entry.lastId;
}

} // namespace

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = { { 0, 0, 0, 0, nullptr, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MessageMapEntry* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = GetMessageMap(); map != nullptr;
         map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->thunk != nullptr; ++entry) {
            if (Matches(*entry, message, code, id))
                return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    const MessageMapEntry* entry = FindEntry(WM_COMMAND, code, id);
    if (entry == nullptr)
        return FALSE;
    LRESULT unused = 0;
    entry->thunk(this, wParam, lParam, unused);
    return TRUE;
}

BOOL CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const MessageMapEntry* entry = FindEntry(message, 0, 0);
    if (entry == nullptr)
        return FALSE;
    result = 0;
    entry->thunk(this, wParam, lParam, result);
    return TRUE;
}
