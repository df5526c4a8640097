#include "gun/gun_link.h"

#include <cstddef>

const GUID GUID_DEVINTERFACE_GUN = {0x1F6C1AAA, 0x0919, 0x4A8D, {0xB0, 0xCD, 0x68, 0x56, 0x62, 0x29, 0xDE, 0x66}};

namespace {

// cbSize of the detail record is its fixed part, not the whole buffer.
const DWORD kDetailFixedSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);

#ifdef _WIN32
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28, "32-bit SP_DEVICE_INTERFACE_DATA");
static_assert(kDetailFixedSize == 5, "32-bit SP_DEVICE_INTERFACE_DETAIL_DATA_A fixed part");
#endif

// A handle notice at least this long names the registration it is for.
const DWORD kHandleNoticeSize = offsetof(DEV_BROADCAST_HANDLE, dbch_eventguid);

void CopyPath(char* to, const char* from) {
    int i = 0;
    for (; i < kGunPathSize - 1 && from[i] != '\0'; ++i) to[i] = from[i];
    to[i] = '\0';
}

}  // namespace

CGunLink::CGunLink() : m_lastRead(), m_openError(0), m_path() {}

BOOL CGunLink::Open(HWND window) {
    if (IsOpen()) return TRUE;
    m_openError = 0;

    DeviceInfoList set;
    set.Reset(SetupDiGetClassDevsA(&GUID_DEVINTERFACE_GUN, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.IsValid()) return FALSE;

    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(SP_DEVICE_INTERFACE_DATA);
    // With several guns present, the first one enumerated is the one used.
    if (!SetupDiEnumDeviceInterfaces(set.Get(), NULL, &GUID_DEVINTERFACE_GUN, 0, &data)) return FALSE;

    // Asked for the size only, this call fails by contract; only the size matters.
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(set.Get(), &data, NULL, 0, &required, NULL);
    if (required < kDetailFixedSize) return FALSE;

    DeviceDetailBuffer detail(required);
    if (!detail.IsValid()) return FALSE;
    detail.Get()->cbSize = kDetailFixedSize;
    if (!SetupDiGetDeviceInterfaceDetailA(set.Get(), &data, detail.Get(), required, NULL, NULL)) return FALSE;

    m_handle.Reset(CreateFileA(detail.Get()->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!IsOpen()) {
        m_openError = GetLastError();
        return FALSE;
    }
    CopyPath(m_path, detail.Get()->DevicePath);
    m_lastRead = GunReadOutcome();
    // Without the notices the link still works; it just cannot be asked.
    if (window != NULL) {
        DEV_BROADCAST_HANDLE filter = {};
        filter.dbch_size = sizeof filter;
        filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
        filter.dbch_handle = m_handle.Get();
        m_notices.Reset(RegisterDeviceNotificationA(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    }
    return TRUE;
}

// The same events come broadcast for other devices (volumes, ports): only a
// handle notice that names this link's registration is about the gun.
BOOL CGunLink::LetGoWhenAsked(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEQUERYREMOVE && event != DBT_DEVICEREMOVEPENDING && event != DBT_DEVICEREMOVECOMPLETE)
        return FALSE;
    const DEV_BROADCAST_HANDLE* notice = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data);
    if (!m_notices.IsValid() || notice == NULL || notice->dbch_devicetype != DBT_DEVTYP_HANDLE ||
        notice->dbch_size < kHandleNoticeSize || notice->dbch_hdevnotify != m_notices.Get())
        return FALSE;
    m_handle.Close();
    return TRUE;
}

BOOL CGunLink::ReadFailed() {
    const DWORD error = GetLastError();
    m_lastRead.kind = GunReadOutcome::kFailed;
    m_lastRead.error = error;
    m_lastRead.count = 0;
    // Unplugged: let go of the handle so a device-change notice can reopen.
    if (error == ERROR_DEVICE_NOT_CONNECTED) m_handle.Close();
    return FALSE;
}
