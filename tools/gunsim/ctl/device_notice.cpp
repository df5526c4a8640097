#include "device_notice.h"

#include <windows.h>
#include <dbt.h>

#include "../gunsim_protocol.h"

namespace {

const UINT kPerWindowTimeoutMs = 5000;

// Arrival and removal carry the interface as the system describes it; the
// receiving side gets a copy, so it lives here only for the call.
struct InterfaceBroadcast {
    DEV_BROADCAST_DEVICEINTERFACE_A header;
    char pathRest[sizeof(GUNSIM_INTERFACE_PATH)];
};

}  // namespace

bool ParseDeviceNotice(const std::string& word, DeviceNotice& notice)
{
    if (word == "nodes")
        notice = DeviceNotice::NodesChanged;
    else if (word == "arrival")
        notice = DeviceNotice::Arrival;
    else if (word == "removal")
        notice = DeviceNotice::RemoveComplete;
    else
        return false;
    return true;
}

bool BroadcastDeviceNotice(DeviceNotice notice, std::string& error)
{
    static const GUID kInterface = {0x1f6c1aaa, 0x0919, 0x4a8d, {0xb0, 0xcd, 0x68, 0x56, 0x62, 0x29, 0xde, 0x66}};

    WPARAM event = DBT_DEVNODES_CHANGED;
    LPARAM detail = 0;
    InterfaceBroadcast broadcast;
    if (notice != DeviceNotice::NodesChanged) {
        event = notice == DeviceNotice::Arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        ZeroMemory(&broadcast, sizeof(broadcast));
        broadcast.header.dbcc_size = sizeof(broadcast.header) + sizeof(GUNSIM_INTERFACE_PATH) - 1;
        broadcast.header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        broadcast.header.dbcc_classguid = kInterface;
        lstrcpyA(broadcast.header.dbcc_name, GUNSIM_INTERFACE_PATH);
        detail = reinterpret_cast<LPARAM>(&broadcast);
    }

    DWORD_PTR answer = 0;
    SetLastError(0);
    if (!SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, detail, SMTO_ABORTIFHUNG,
                             kPerWindowTimeoutMs, &answer) &&
        GetLastError() != 0) {
        error = "broadcasting WM_DEVICECHANGE failed (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}
